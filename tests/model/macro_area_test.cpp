#include <vector>

#include <gtest/gtest.h>

#include "model/little_endian.h"
#include "model/macro_area.h"

namespace tavrix::model {
namespace {

constexpr uint16_t kLeftShift = 0x02A;
constexpr uint16_t kKeyA = 0x01E;

std::u16string FixtureText(std::string_view key)
{
    return key == "MACRO_NEW_PREFIX" ? u"Macro " : u"#Error";
}

MacroRecord Macro(std::u16string_view name, std::vector<MacroAction> actions, uint8_t repeatCount = 1)
{
    MacroRecord record;
    record.SetName(name);
    record.repeatCount = repeatCount;
    record.actionCount = static_cast<uint16_t>(actions.size());
    std::copy(actions.begin(), actions.end(), record.actions.begin());
    return record;
}

std::vector<uint8_t> Encode(const std::vector<MacroRecord>& macros, bool includeNames)
{
    const MacroAreaSize sizes = MacroAreaSizes(macros);
    std::vector<uint8_t> area(includeNames ? sizes.withNames : sizes.withoutNames, 0xCC);
    EXPECT_TRUE(EncodeMacroArea(macros, area, includeNames));
    return area;
}

TEST(MacroArea, EmptyStorePacksIntoTheHeaderAlone)
{
    for (const bool names : {false, true}) {
        const std::vector<uint8_t> expected{0xAA, 0x55, 0x10, 0x00, 0x00, 0x00, static_cast<uint8_t>(names), 0x00, 0, 0,
                                            0,    0,    0,    0,    0,    0};
        EXPECT_EQ(Encode({}, names), expected);
    }
}

TEST(MacroArea, OneMacroOfThreeActionsWithAndWithoutItsName)
{
    const std::vector<MacroRecord> macros{
        Macro(u"abc", {{100, kLeftShift, kMacroPress}, {20, kKeyA, kMacroPress}, {0, kLeftShift, kMacroRelease}}, 5)};
    const MacroAreaSize sizes = MacroAreaSizes(macros);
    EXPECT_EQ(sizes.withoutNames, 34u);
    EXPECT_EQ(sizes.withNames, 40u);

    const std::vector<uint8_t> expected{0xAA, 0x55, 40,   0,    1,   0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, // header
                                        18,   0,                                                      // offset
                                        3,    0,    5,    3,                                          // counts
                                        0x0A, 0xA0, 0x01, 0x02,                                       // Left Shift down
                                        0x02, 0xA0, 0x02, 0x04,                                       // A down
                                        0x00, 0x20, 0x01, 0x02,                                       // Left Shift up
                                        'a',  0,    'b',  0,    'c', 0};
    EXPECT_EQ(Encode(macros, true), expected);
    const std::vector<uint8_t> withoutNames = Encode(macros, false);
    ASSERT_EQ(withoutNames.size(), 34u);
    EXPECT_EQ(withoutNames[2], 34);
    EXPECT_EQ(withoutNames[6], 0);
    EXPECT_EQ(withoutNames[21], 0); // name length
}

TEST(MacroArea, ActionWordsAndKeyData)
{
    const struct {
        MacroAction action;
        uint16_t word;
        uint8_t data0;
        uint8_t data1;
    } cases[] = {
        {{40950, kLeftShift, kMacroPress}, 0xAFFF, 0x01, 0x02},
        {{40959, kLeftShift, kMacroRelease}, 0x2FFF, 0x01, 0x02},
        {{5, kLeftShift, kMacroPress}, 0xA000, 0x01, 0x02},
        // Longer than the keyboard can wait: the longest it can, not the delay's low bits.
        {{50000, kKeyA, kMacroPress}, 0xAFFF, 0x02, 0x04},
        {{0, 0x11D, kMacroPress}, 0xA000, 0x01, 0x10},   // Right Ctrl
        {{0, 0x15C, kMacroRelease}, 0x2000, 0x01, 0x80}, // Right Win
        {{0, 0x120, kMacroPress}, 0xA000, 0x02, 0xCD},   // Mute travels as its device code
        {{0, 0x171, kMacroPress}, 0x9000, 0x01, 0x01},
        {{0, 0x173, kMacroRelease}, 0x1000, 0x01, 0x04},
        {{0, 0x161, kMacroPress}, 0x9000, 0x05, 0x01},
        {{0, 0x162, kMacroPress}, 0x9000, 0x05, 0xFF},
        {{0, 0x15E, kMacroPress}, 0xC000, 0x81, 0x00}, // Power
        {{0, 0x170, kMacroPress}, 0x8000, 0x00, 0x00}, // double click: nothing the keyboard can send
        {{30, kKeyA, 7}, 0xA003, 0x02, 0x04},          // any direction but release is a press
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << std::hex << c.action.keyCode << " delay " << std::dec
                                        << c.action.delay);
        const std::vector<uint8_t> area = Encode({Macro(u"", {c.action})}, false);
        ASSERT_EQ(area.size(), 26u);
        EXPECT_EQ(Get16(area, 22), c.word);
        EXPECT_EQ(area[24], c.data0);
        EXPECT_EQ(area[25], c.data1);
    }
}

TEST(MacroArea, DecodesWhatItEncodes)
{
    const std::vector<MacroRecord> macros{
        Macro(u"first", {{40950, kLeftShift, kMacroPress}, {0, kLeftShift, kMacroRelease}}, 2),
        Macro(u"", {}),
        Macro(u"mouse and media",
              {{10, 0x171, kMacroPress},
               {20, 0x162, kMacroRelease},
               {30, 0x120, kMacroPress},
               {40, 0x15E, kMacroRelease},
               {50, 0x11D, kMacroPress}},
              255),
    };
    const std::vector<MacroRecord> decoded = DecodeMacroArea(Encode(macros, true), FixtureText);
    ASSERT_EQ(decoded.size(), macros.size());
    for (size_t slot = 0; slot < macros.size(); ++slot) {
        SCOPED_TRACE(slot);
        MacroRecord expected = macros[slot];
        expected.number = static_cast<uint16_t>(slot + 1);
        if (slot == 1)
            expected.SetName(u"Macro 2");
        EXPECT_TRUE(decoded[slot] == expected);
    }
}

TEST(MacroArea, LargestNamedAreaRoundTripsByteForByte)
{
    const uint16_t keys[] = {kKeyA, kLeftShift, 0x15C, 0x171, 0x162, 0x15E, 0x120, 0x11C};
    std::vector<MacroRecord> macros;
    for (size_t m = 0; m < kMaxMacros; ++m) {
        std::vector<MacroAction> actions;
        for (size_t a = 0; a < 30; ++a)
            actions.push_back({static_cast<uint32_t>((m * 30 + a) * 10 % (kMaxMacroDelayMs + 10)),
                               keys[(m + a) % std::size(keys)], static_cast<uint16_t>(a & 1)});
        macros.push_back(Macro(std::u16string(kMaxMacroNameLength, static_cast<char16_t>(0x4E00 + m)), actions,
                               static_cast<uint8_t>(m + 1)));
    }
    const std::vector<uint8_t> area = Encode(macros, true);
    ASSERT_GT(area.size(), 60000u);
    const std::vector<MacroRecord> decoded = DecodeMacroArea(area, FixtureText);
    ASSERT_EQ(decoded.size(), kMaxMacros);
    EXPECT_EQ(Encode(decoded, true), area);
    EXPECT_EQ(decoded[99].UsedActions()[29], macros[99].UsedActions()[29]);
}

TEST(MacroArea, RecordsWithoutNamesAreNamedByPrefixAndNumber)
{
    const std::vector<MacroRecord> macros{Macro(u"a", {}), Macro(u"b", {}), Macro(u"c", {})};
    const std::vector<MacroRecord> decoded = DecodeMacroArea(Encode(macros, false), FixtureText);
    ASSERT_EQ(decoded.size(), 3u);
    EXPECT_EQ(decoded[2].Name(), u"Macro 3");
    EXPECT_EQ(decoded[2].number, 3);
}

TEST(MacroArea, RefusesABufferOfTheWrongSizeAndAnAreaBeyond16Bits)
{
    const std::vector<MacroRecord> one{Macro(u"abc", {{0, kKeyA, kMacroPress}})};
    std::vector<uint8_t> area(MacroAreaSizes(one).withoutNames + 1, 0xCC);
    EXPECT_FALSE(EncodeMacroArea(one, area, false));
    EXPECT_EQ(area[0], 0xCC);

    MacroRecord full = Macro(u"x", {});
    full.actionCount = kMaxMacroActions;
    const std::vector<MacroRecord> many(9, full);
    const MacroAreaSize sizes = MacroAreaSizes(many);
    EXPECT_EQ(sizes.withoutNames, 16u + 18 + 9 * (4 + 8000));
    std::vector<uint8_t> big(sizes.withoutNames);
    EXPECT_FALSE(EncodeMacroArea(many, big, false));
}

// Three macros "a", "bb", "ccc" of one action each: offsets at 16, 18, 20; records at 22, 32 and
// 44 (its name length at 47); 58 bytes in all.
std::vector<uint8_t> ThreeMacros()
{
    return Encode({Macro(u"a", {{0, kKeyA, kMacroPress}}), Macro(u"bb", {{0, kKeyA, kMacroPress}}),
                   Macro(u"ccc", {{0, kKeyA, kMacroPress}})},
                  true);
}

TEST(MacroArea, DamagedAreasGiveTheWholeMacrosAndNothingElse)
{
    const struct {
        const char* what;
        void (*damage)(std::vector<uint8_t>&);
        std::vector<uint16_t> numbers;
    } cases[] = {
        {"intact", [](auto&) {}, {1, 2, 3}},
        {"no magic", [](auto& a) { a[1] = 0x56; }, {}},
        {"header cut short", [](auto& a) { a.resize(5); }, {}},
        {"empty buffer", [](auto& a) { a.clear(); }, {}},
        {"last record cut by the buffer", [](auto& a) { a.resize(a.size() - 1); }, {1, 2}},
        {"last record cut by the total", [](auto& a) { Put16(a, 2, static_cast<uint16_t>(a.size() - 1)); }, {1, 2}},
        {"total past the buffer", [](auto& a) { Put16(a, 2, 0xFFFF); }, {1, 2, 3}},
        {"offset far outside", [](auto& a) { Put16(a, 18, 0xFFF0); }, {1, 3}},
        {"offset at the very end", [](auto& a) { Put16(a, 16, static_cast<uint16_t>(a.size())); }, {2, 3}},
        {"2001 actions", [](auto& a) { Put16(a, 22, 2001); }, {2, 3}},
        {"action count past the end", [](auto& a) { Put16(a, 32, 2000); }, {1, 3}},
        {"name past the end", [](auto& a) { a[47] = 200; }, {1, 2}},
        {"offset table cut by the total",
         [](auto& a) {
             Put16(a, 4, 3);
             Put16(a, 2, 19);
         },
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> area = ThreeMacros();
        c.damage(area);
        // A copy of exactly the damaged size, so any read past it is caught by the sanitizer.
        const std::vector<uint8_t> exact(area.begin(), area.end());
        std::vector<uint16_t> numbers;
        for (const MacroRecord& record : DecodeMacroArea(exact, FixtureText))
            numbers.push_back(record.number);
        EXPECT_EQ(numbers, c.numbers);
    }
}

TEST(MacroArea, ReadsAtMostOneHundredMacros)
{
    const std::vector<MacroRecord> macros(kMaxMacros, Macro(u"m", {}));
    std::vector<uint8_t> area = Encode(macros, true);
    Put16(area, 4, kMaxMacros + 1);
    EXPECT_EQ(DecodeMacroArea(area, FixtureText).size(), kMaxMacros);
}

} // namespace
} // namespace tavrix::model
