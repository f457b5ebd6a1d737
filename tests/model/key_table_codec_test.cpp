#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "default_key_table.h"
#include "model/key_catalogue.h"
#include "model/key_table_codec.h"
#include "model/media_keys.h"
#include "sim/factory_defaults.h"

namespace tavrix::model {
namespace {

using test::DefaultKeyTable;
using test::kDrawnKeys;

constexpr uint16_t kKeyA = 0x01E;
constexpr size_t kPositionOfA = 0;

// The edited macro list: macro id -> position.
MacroSlotOf MacroList(std::map<uint32_t, size_t> slots)
{
    return [slots = std::move(slots)](uint32_t id) -> std::optional<size_t> {
        const auto slot = slots.find(id);
        return slot == slots.end() ? std::nullopt : std::optional<size_t>(slot->second);
    };
}

ProfileBlock ClearedBlock()
{
    ProfileBlock block;
    ClearProfileBlock(block);
    return block;
}

std::string Describe(const KeyEntry& entry)
{
    return std::to_string(entry[0]) + "," + std::to_string(entry[1]) + "," + std::to_string(entry[2]);
}

TEST(KeyFromEntry, EveryFamily)
{
    struct Case {
        KeyEntry entry;
        uint16_t code;
    };
    for (const Case& c : {
             Case{{1, 1, 0x01}, 0x171},    Case{{1, 1, 0x02}, 0x172},    Case{{1, 1, 0x04}, 0x173},
             Case{{1, 1, 0x03}, 0},        Case{{1, 5, 0x01}, 0x161},    Case{{1, 5, 0xFF}, 0x162},
             Case{{1, 5, 0x02}, 0},        Case{{1, 2, 0x01}, 0},        Case{{2, 2, 0x04}, 0x01E},
             Case{{2, 2, 0x48}, 0x045},    Case{{2, 2, 0xE5}, 0x036},    Case{{2, 2, 0x00}, 0},
             Case{{2, 1, 0x22}, 0x02A},    Case{{2, 3, 0x80}, 0x15C},    Case{{2, 1, 0x00}, 0},
             Case{{3, 0xCD, 0x00}, 0x122}, Case{{3, 0x23, 0x02}, 0x132}, Case{{3, 0x34, 0x12}, 0},
             Case{{3, 0, 0}, 0},           Case{{4, 0x81, 0x00}, 0x15E}, Case{{4, 0x84, 0x00}, 0},
             Case{{4, 0x81, 0x01}, 0},     Case{{5, 1, 0x00}, 0},        Case{{0, 0, 0}, 0},
             Case{{9, 2, 0x04}, 0},
         })
        EXPECT_EQ(KeyFromEntry(c.entry), c.code) << Describe(c.entry);
}

TEST(EncodeProfileKeyTable, WritesEachTypeAtTheKeysPosition)
{
    struct Case {
        KeyAssignment slot;
        KeyEntry entry;
    };
    const KeyEntry defaultOfA{2, 2, 0x04};
    for (const Case& c : {
             Case{{.type = kTypeDefault}, defaultOfA},
             Case{{.type = kTypeDisabled}, {0, 0, 0}},
             Case{{.type = kTypeKey, .value = 0x02A}, {2, 1, 0x02}},
             Case{{.type = kTypeKey, .value = 0x136}, {2, 1, 0x20}},
             Case{{.type = kTypeKey, .value = 0x030}, {2, 2, 0x05}},
             Case{{.type = kTypeKey, .value = 0x120}, {2, 2, 0xCD}}, // Mute as a plain key
             Case{{.type = kTypeKey, .value = 0x15E}, {2, 2, 0x00}}, // Power is no keyboard key
             Case{{.type = kTypeKey, .value = 0x064}, {2, 2, 0x00}}, // F13 has no device code
             Case{{.type = kTypeKey, .value = 0x171}, {1, 1, 0x01}},
             Case{{.type = kTypeKey, .value = 0x173}, {1, 1, 0x04}},
             Case{{.type = kTypeKey, .value = 0x162}, {1, 5, 0xFF}},
             Case{{.type = kTypeKey, .value = 0x1001E}, {2, 2, 0x00}},
             Case{{.type = kTypeDefaultWithText, .value = 12}, defaultOfA},
             Case{{.type = kTypeMacro, .value = 7}, {5, 1, 2}},
             Case{{.type = kTypeMacro, .value = 9}, defaultOfA}, // not in the macro list: plays no other
             Case{{.type = kTypeKeyboardSpecial}, {5, 2, 0}},
             Case{{.type = kTypeNoOutputWithText, .value = 4}, {0, 0, 0}},
             Case{{.type = kTypeMedia, .value = 1}, {3, 0xCD, 0x00}},
             Case{{.type = kTypeMedia, .value = 0}, {3, 0x83, 0x01}},
             Case{{.type = kTypeMedia, .value = 18}, defaultOfA}, // past the media list
             Case{{.type = kTypeFunction, .value = 10}, {5, 5, 10}},
             Case{{.type = kTypeFunction, .value = 0x105}, {5, 5, 5}},
             Case{{.type = 9, .value = 1}, defaultOfA},
         }) {
        ProfileBlock block = ClearedBlock();
        block[KeyIndexOf(kKeyA)] = c.slot;
        const KeyTable table = EncodeProfileKeyTable(block, DefaultKeyTable(), MacroList({{3, 0}, {7, 2}}));
        EXPECT_EQ(EntryAt(table, kPositionOfA), c.entry) << "type " << c.slot.type << " value " << c.slot.value;
        KeyTable others = table;
        SetEntry(others, kPositionOfA, defaultOfA);
        EXPECT_EQ(others, DefaultKeyTable()) << "type " << c.slot.type << " value " << c.slot.value;
    }
}

TEST(EncodeProfileKeyTable, WithoutAMacroListAMacroKeyKeepsItsDefault)
{
    ProfileBlock block = ClearedBlock();
    block[KeyIndexOf(kKeyA)] = {.type = kTypeMacro, .value = 3};
    const KeyEntry defaultOfA = EntryAt(DefaultKeyTable(), kPositionOfA);
    EXPECT_EQ(EntryAt(EncodeProfileKeyTable(block, DefaultKeyTable(), nullptr), kPositionOfA), defaultOfA);
    const MacroSlotOf farAway = [](uint32_t) { return std::optional<size_t>(300); };
    EXPECT_EQ(EntryAt(EncodeProfileKeyTable(block, DefaultKeyTable(), farAway), kPositionOfA), defaultOfA);
}

TEST(EncodeProfileKeyTable, PositionsThatNameNoKeyKeepTheirEntry)
{
    KeyTable defaults = DefaultKeyTable();
    SetEntry(defaults, 104, {5, 1, 0});
    SetEntry(defaults, 105, {2, 2, 0x00});
    ProfileBlock block;
    block.fill({.type = kTypeDisabled});
    const KeyTable table = EncodeProfileKeyTable(block, defaults, nullptr);
    for (size_t position = 0; position < kKeyTablePositions; ++position) {
        const KeyEntry expected = position < kDrawnKeys.size() ? KeyEntry{0, 0, 0} : EntryAt(defaults, position);
        EXPECT_EQ(EntryAt(table, position), expected) << position;
    }
}

TEST(DecodeProfileKeyTable, EveryEntryFamily)
{
    struct Case {
        KeyEntry entry;
        uint16_t type;
        uint32_t value;
    };
    for (const Case& c : {
             Case{{0, 0, 0}, kTypeDisabled, 0},       Case{{5, 1, 0}, kTypeMacro, 1},
             Case{{5, 1, 99}, kTypeMacro, 100},       Case{{5, 2, 7}, kTypeKeyboardSpecial, 0},
             Case{{5, 5, 3}, kTypeFunction, 3},       Case{{5, 9, 0}, kTypeDisabled, 0},
             Case{{3, 0xCD, 0x00}, kTypeMedia, 1},    Case{{3, 0x8A, 0x01}, kTypeMedia, 17},
             Case{{3, 0x34, 0x12}, kTypeDisabled, 0}, Case{{1, 1, 0x04}, kTypeKey, 0x173},
             Case{{1, 5, 0xFF}, kTypeKey, 0x162},     Case{{1, 7, 0x07}, kTypeKey, 0},
             Case{{2, 2, 0x05}, kTypeKey, 0x030},     Case{{2, 2, 0xE5}, kTypeKey, 0x036},
             Case{{2, 2, 0xCD}, kTypeKey, 0x120},     Case{{2, 2, 0x00}, kTypeDisabled, 0},
             Case{{2, 1, 0x40}, kTypeKey, 0x138},     Case{{2, 1, 0x00}, kTypeKey, 0},
             Case{{4, 0x81, 0x00}, kTypeDisabled, 0}, Case{{9, 1, 1}, kTypeDisabled, 0},
         }) {
        KeyTable table = DefaultKeyTable();
        SetEntry(table, kPositionOfA, c.entry);
        ProfileBlock expected = ClearedBlock();
        expected[KeyIndexOf(kKeyA)] = {.type = c.type, .value = c.value};
        EXPECT_EQ(DecodeProfileKeyTable(table, DefaultKeyTable()), expected) << Describe(c.entry);
    }
}

TEST(DecodeProfileKeyTable, TheDefaultTableGivesOnlyTheGKeyCodes)
{
    EXPECT_EQ(DecodeProfileKeyTable(DefaultKeyTable(), DefaultKeyTable()), ClearedBlock());
}

TEST(DecodeProfileKeyTable, PositionsWithoutAKeyAreNeverDecoded)
{
    KeyTable table = DefaultKeyTable();
    SetEntry(table, 105, {2, 2, 0x04});
    KeyTable defaults = DefaultKeyTable();
    SetEntry(defaults, 106, {3, 0x34, 0x12});
    SetEntry(table, 106, {0, 0, 0});
    EXPECT_EQ(DecodeProfileKeyTable(table, defaults), ClearedBlock());
}

// Every assignment the editors make, on every drawn key at once.
std::vector<KeyAssignment> EditorAssignments()
{
    std::vector<KeyAssignment> assignments{
        {.type = kTypeDefault}, {.type = kTypeDisabled}, {.type = kTypeKeyboardSpecial}};
    for (uint16_t position = 0; position < kKeyListLength; ++position)
        assignments.push_back({.type = kTypeKey, .value = KeyAtListPosition(position)});
    // Keys the editor captures from the keyboard beyond its list.
    for (const uint16_t code : {0x07D, 0x073, 0x07E, 0x07B, 0x079, 0x070, 0x071, 0x072, 0x174, 0x175, 0x17B, 0x17C})
        assignments.push_back({.type = kTypeKey, .value = code});
    for (const MediaKey& media : MediaList)
        assignments.push_back({.type = kTypeKey, .value = media.code});
    for (uint32_t id = 1; id <= 100; ++id)
        assignments.push_back({.type = kTypeMacro, .value = id});
    for (uint32_t index = 0; index < MediaList.size(); ++index)
        assignments.push_back({.type = kTypeMedia, .value = index});
    for (uint32_t index = 0; index < FunctionList.size(); ++index)
        assignments.push_back({.type = kTypeFunction, .value = index});
    return assignments;
}

// Macros read back from the keyboard are numbered by their slot.
const MacroSlotOf kMacrosAsRead = [](uint32_t id) { return std::optional<size_t>(id - 1); };

// Break sends what Pause sends, so it reads back as Pause; a key given its own output reads back
// as unassigned; everything else comes back as made.
KeyAssignment AsReadBack(KeyAssignment slot, uint16_t key)
{
    if (slot.type == kTypeKey && slot.value == 0x146)
        slot.value = 0x045;
    if (slot.type == kTypeKey && slot.value == key)
        return {};
    return slot;
}

// The keys that sit at the positions of a default table, read from the table itself.
std::vector<uint16_t> KeysOf(const KeyTable& defaults)
{
    std::vector<uint16_t> keys;
    for (size_t position = 0; position < kKeyTablePositions; ++position) {
        if (const uint16_t code = KeyFromEntry(EntryAt(defaults, position)); code != kNoKey)
            keys.push_back(code);
    }
    return keys;
}

void ExpectEveryEditorAssignmentRoundTrips(const KeyTable& defaults)
{
    const std::vector<uint16_t> keys = KeysOf(defaults);
    ASSERT_EQ(keys.size(), kDrawnKeys.size());
    for (const KeyAssignment& assignment : EditorAssignments()) {
        ProfileBlock block = ClearedBlock();
        ProfileBlock expected = ClearedBlock();
        for (const uint16_t key : keys) {
            block[KeyIndexOf(key)] = assignment;
            expected[KeyIndexOf(key)] = AsReadBack(assignment, key);
        }
        const ProfileBlock decoded =
            DecodeProfileKeyTable(EncodeProfileKeyTable(block, defaults, kMacrosAsRead), defaults);
        for (const uint16_t key : keys) {
            const size_t index = KeyIndexOf(key);
            EXPECT_EQ(decoded[index], expected[index])
                << std::hex << "key " << key << " type " << assignment.type << " value " << assignment.value;
        }
        EXPECT_EQ(decoded, expected);
    }
}

TEST(KeyTableRoundTrip, EveryEditorAssignmentOnEveryDrawnKey)
{
    ExpectEveryEditorAssignmentRoundTrips(DefaultKeyTable());
}

TEST(KeyTableRoundTrip, AgainstTheSimulatedKeyboardsDefaultTable)
{
    ExpectEveryEditorAssignmentRoundTrips(sim::DefaultKeyTable());
}

TEST(KeyTableRoundTrip, TheSimulatedKeyboardPlacesTheKeysItNames)
{
    for (const sim::DefaultKeyEntry& position : sim::DefaultKeyEntries())
        EXPECT_EQ(KeyFromEntry(position.entry), position.keyCode) << std::hex << position.keyCode;
}

TEST(KeyTableRoundTrip, KeysTheKeyboardCannotSendReadBackAsDisabled)
{
    const KeyTable defaults = DefaultKeyTable();
    for (const uint16_t code : {0x15E, 0x15F, 0x163, 0x054, 0x064, 0x16E, 0x170, 0x176, 0x17E}) {
        ProfileBlock block = ClearedBlock();
        block[KeyIndexOf(kKeyA)] = {.type = kTypeKey, .value = code};
        ProfileBlock expected = ClearedBlock();
        expected[KeyIndexOf(kKeyA)] = {.type = kTypeDisabled};
        EXPECT_EQ(DecodeProfileKeyTable(EncodeProfileKeyTable(block, defaults, nullptr), defaults), expected)
            << std::hex << code;
    }
}

} // namespace
} // namespace tavrix::model
