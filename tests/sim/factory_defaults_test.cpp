#include <algorithm>
#include <set>

#include <gtest/gtest.h>

#include "sim/factory_defaults.h"

namespace tavrix::sim {
namespace {

struct KeyCase {
    const char* name;
    uint16_t keyCode;
    std::array<uint8_t, 3> entry;
};

class DefaultKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(DefaultKeyTest, KeySendsItsUsage)
{
    const KeyCase& c = GetParam();
    const int position = DefaultKeyPosition(c.keyCode);
    ASSERT_GE(position, 0);
    const auto table = DefaultKeyTable();
    EXPECT_TRUE(std::equal(c.entry.begin(), c.entry.end(), table.begin() + position * kKeyEntrySize));
}

// The eight modifiers, and the keys whose code and usage are easy to get wrong.
INSTANTIATE_TEST_SUITE_P(
    Keys, DefaultKeyTest,
    ::testing::Values(KeyCase{"LeftCtrl", 0x01D, {2, 1, 0x01}}, KeyCase{"LeftShift", 0x02A, {2, 1, 0x02}},
                      KeyCase{"LeftAlt", 0x038, {2, 1, 0x04}}, KeyCase{"LeftWin", 0x15B, {2, 1, 0x08}},
                      KeyCase{"RightCtrl", 0x11D, {2, 1, 0x10}}, KeyCase{"RightShift", 0x036, {2, 1, 0x20}},
                      KeyCase{"RightAlt", 0x138, {2, 1, 0x40}}, KeyCase{"RightWin", 0x15C, {2, 1, 0x80}},
                      KeyCase{"A", 0x01E, {2, 2, 0x04}}, KeyCase{"Enter", 0x01C, {2, 2, 0x28}},
                      KeyCase{"KeypadEnter", 0x11C, {2, 2, 0x58}}, KeyCase{"Pause", 0x045, {2, 2, 0x48}},
                      KeyCase{"NumLock", 0x145, {2, 2, 0x53}}, KeyCase{"PrintScreen", 0x137, {2, 2, 0x46}},
                      KeyCase{"KeypadSlash", 0x135, {2, 2, 0x54}}, KeyCase{"Menu", 0x15D, {2, 2, 0x65}},
                      KeyCase{"Grave", 0x029, {2, 2, 0x35}}, KeyCase{"Backslash", 0x02B, {2, 2, 0x31}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DefaultKeyTableTest, HoldsEveryKeyOnceAndNothingElse)
{
    std::set<uint16_t> codes;
    std::set<std::array<uint8_t, 3>> entries;
    int keys = 0;
    for (const DefaultKeyEntry& key : DefaultKeyEntries()) {
        if (key.keyCode == 0) {
            EXPECT_EQ(key.entry, (std::array<uint8_t, 3>{0, 0, 0}));
            continue;
        }
        ++keys;
        EXPECT_TRUE(codes.insert(key.keyCode).second) << "key code " << key.keyCode << " twice";
        EXPECT_TRUE(entries.insert(key.entry).second) << "key code " << key.keyCode << " sends a used entry";
        EXPECT_EQ(key.entry[0], 2);
    }
    EXPECT_EQ(keys, 104);
    EXPECT_EQ(DefaultKeyPosition(0), -1);
    EXPECT_EQ(DefaultKeyPosition(0x056), -1);
}

TEST(FactoryInfoBlockTest, NamesProfileZeroItsCapacityAndEveryEffectOnce)
{
    const auto info = FactoryInfoBlock();
    EXPECT_EQ(info[kInfoProfileAt], 0);
    EXPECT_EQ(ExtraCapacityOf(info), 0x80u * 128u);
    std::multiset<uint8_t> effects(info.begin() + kInfoEffectsAt, info.end());
    effects.erase(0);
    for (int code = 1; code <= 28; ++code) {
        EXPECT_EQ(effects.count(static_cast<uint8_t>(code)), 1u) << "effect " << code;
    }
    EXPECT_EQ(effects.count(kPerKeyEffect), 1u);
    EXPECT_EQ(effects.size(), 29u);
}

TEST(FactoryMemoryTest, KeyTablesStartAsTheDefaultAndTheExtraAreaIsAnEmptyMacroArea)
{
    const KeyboardMemory memory = FactoryMemory();
    for (const auto& table : memory.keyTables) {
        EXPECT_EQ(table, memory.defaultKeys);
    }
    ASSERT_EQ(memory.extra.size(), ExtraCapacityOf(memory.info));
    const std::array<uint8_t, 8> header{0xAA, 0x55, 16, 0, 0, 0, 0, 0};
    EXPECT_TRUE(std::equal(header.begin(), header.end(), memory.extra.begin()));
}

} // namespace
} // namespace tavrix::sim
