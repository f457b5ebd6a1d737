#include <set>

#include <gtest/gtest.h>

#include "model/key_catalogue.h"
#include "model/media_keys.h"

namespace tavrix::model {
namespace {

TEST(KeyCode, IndexBothWays)
{
    struct Case {
        uint16_t code;
        size_t index;
    };
    for (const Case& c : {Case{0x01C, 28}, Case{0x11C, 156}, Case{0x01E, 0x1E}, Case{0x17E, 0xFE}, Case{0x100, 0x80}}) {
        EXPECT_EQ(KeyIndexOf(c.code), c.index) << std::hex << c.code;
        EXPECT_EQ(KeyCodeOf(c.index), c.code) << c.index;
    }
}

TEST(KeyCode, CodesBeyondTheTableNameNoKey)
{
    // Scan codes with the extended bit reach 0x1FF; they must never index past the 256 rows.
    for (const uint16_t code : {0x180, 0x1FF, 0xFFFF})
        EXPECT_EQ(KeyIndexOf(code), 0u) << std::hex << code;
    EXPECT_EQ(KeyCodeOf(256), kNoKey);
    EXPECT_FALSE(CatalogueRowOf(0x1FF).IsDefined());
}

TEST(KeyCatalogue, RowsSitAtTheirOwnIndex)
{
    const KeyCatalogueTable& catalogue = KeyCatalogue();
    size_t defined = 0;
    for (size_t index = 0; index < catalogue.size(); ++index) {
        const KeyCatalogueRow& row = catalogue[index];
        if (!row.IsDefined()) {
            EXPECT_EQ(row, KeyCatalogueRow{}) << index;
            continue;
        }
        ++defined;
        EXPECT_EQ(KeyIndexOf(row.code), index) << index;
    }
    EXPECT_EQ(defined, 157u);
}

TEST(KeyCatalogue, EveryListPositionHasItsKey)
{
    std::set<uint16_t> codes;
    for (uint16_t position = 0; position < kKeyListLength; ++position) {
        const uint16_t code = KeyAtListPosition(position);
        ASSERT_NE(code, kNoKey) << position;
        EXPECT_EQ(ListPositionOf(code), position);
        EXPECT_FALSE(CatalogueRowOf(code).nameKey.empty()) << position;
        codes.insert(code);
    }
    EXPECT_EQ(codes.size(), kKeyListLength);
}

TEST(KeyCatalogue, ListPositions)
{
    struct Case {
        uint16_t position;
        uint16_t code;
    };
    for (const Case& c : {Case{0, 0x01E}, Case{66, 0x146}, Case{103, 0x036}, Case{110, 0x162}, Case{0x8001, 0x15E},
                          Case{0x801A, 0x072}, Case{0x801B, 0x16D}, Case{0x802C, 0x16C}, Case{0x802D, 0x064},
                          Case{111, kNoKey}, Case{0x802E, kNoKey}, Case{kUndefinedListPosition, kNoKey}})
        EXPECT_EQ(KeyAtListPosition(c.position), c.code) << std::hex << c.position;
    EXPECT_EQ(ListPositionOf(0x136), 103);
    EXPECT_EQ(ListPositionOf(0x100), kUndefinedListPosition);
}

TEST(KeyCatalogue, RowsThatDifferFromTheStandardRule)
{
    struct Case {
        uint16_t code;
        uint8_t virtualKey;
        uint8_t alternate;
        uint8_t deviceCode;
    };
    for (const Case& c : {
             Case{0x045, 0x13, 0x13, 0x48},                   // Pause
             Case{0x146, 0x03, 0x03, 0x48},                   // Break
             Case{0x137, 0x2C, 0x2C, 0x46},                   // Print Screen
             Case{0x056, 0xE2, 0xE2, 0x64},                   // K45
             Case{0x04C, 0x65, 0x0C, 0x5D},                   // Num 5 / Clear
             Case{0x052, 0x60, 0x2D, 0x62},                   // Num 0 / Insert
             Case{0x053, 0x6E, 0x2E, 0x63},                   // Num . / Delete
             Case{0x162, 0xD2, 0xD2, 0xF5},                   // Roll Down
             Case{0x15E, kNoVirtualKey, kNoVirtualKey, 0x81}, // Power
             Case{0x17B, 0x9C, 0x9C, 0xD4},                   // Word
             Case{0x064, 0x7C, 0x7C, 0},                      // F13
             Case{0x120, 0xAD, 0xAD, 0xCD},                   // Mute, from the media list
         }) {
        const KeyCatalogueRow& row = CatalogueRowOf(c.code);
        EXPECT_EQ(row.virtualKey, c.virtualKey) << std::hex << c.code;
        EXPECT_EQ(row.alternateVirtualKey, c.alternate) << std::hex << c.code;
        EXPECT_EQ(row.deviceCode, c.deviceCode) << std::hex << c.code;
    }
    EXPECT_TRUE(CatalogueRowOf(0x064).nameKey.empty());
    EXPECT_EQ(CatalogueRowOf(0x120).nameKey, "MEDIA_MUTE_8");
}

TEST(KeyCatalogue, ClassifyKey)
{
    struct Case {
        uint16_t code;
        ClassifiedKey expected;
    };
    for (const Case& c : {Case{0x01E, {KeyClass::Keyboard, 0x04}}, Case{0x15F, {KeyClass::SystemControl, 0x82}},
                          Case{0x172, {KeyClass::Mouse, 0xF2}}, Case{0x161, {KeyClass::Mouse, 0xF4}},
                          Case{0x120, {KeyClass::Keyboard, 0xCD}}, Case{0x174, {KeyClass::Keyboard, 0xD2}},
                          Case{0x064, {}}, Case{0x176, {}}, Case{0x100, {}}, Case{kNoKey, {}}})
        EXPECT_EQ(ClassifyKey(c.code), c.expected) << std::hex << c.code;
}

TEST(KeyCatalogue, KeyFromClass)
{
    struct Case {
        KeyClass keyClass;
        uint32_t value;
        uint16_t code;
    };
    for (const Case& c : {
             Case{KeyClass::Consumer, 0x00CD, 0x122}, // Play/Pause
             Case{KeyClass::Consumer, 0x00E9, 0x130}, // Volume up, consumer slot 0
             Case{KeyClass::Consumer, 0x1234, kNoKey},
             Case{KeyClass::Consumer, 0, kNoKey}, // not the first unused consumer slot
             Case{KeyClass::SystemControl, 0x81, 0x15E},
             Case{KeyClass::SystemControl, 0x83, 0x163},
             Case{KeyClass::SystemControl, 0x84, kNoKey},
             Case{KeyClass::SystemControl, 0x04, kNoKey},
             Case{KeyClass::Keyboard, 0x48, 0x045}, // Pause, not Break
             Case{KeyClass::Keyboard, 0xE5, 0x036}, // Right Shift, not 0x136
             Case{KeyClass::Keyboard, 0xF1, 0x171},
             Case{KeyClass::Keyboard, 0, kNoKey},
             Case{KeyClass::Keyboard, 0x104, kNoKey},
             Case{KeyClass::Mouse, 0xF1, kNoKey},
             Case{KeyClass::None, 0x04, kNoKey},
         })
        EXPECT_EQ(KeyFromClass(c.keyClass, c.value), c.code)
            << static_cast<int>(c.keyClass) << " " << std::hex << c.value;
}

TEST(KeyCatalogue, ConsumerCodesFollowTheMediaList)
{
    const std::array<uint16_t, 18> usedSlots{0x00E9, 0x00EA, 0x0183, 0x018A, 0x0192, 0x0194, 0x0221, 0x0223, 0x0224,
                                             0x0225, 0x0226, 0x0227, 0x022A, 0x00E2, 0x00CD, 0x00B7, 0x00B6, 0x00B5};
    for (size_t slot = 0; slot < ConsumerCodes.size(); ++slot)
        EXPECT_EQ(ConsumerCodes[slot], slot < usedSlots.size() ? usedSlots[slot] : 0) << slot;
    for (size_t i = 0; i < MediaList.size(); ++i)
        EXPECT_EQ(KeyFromClass(KeyClass::Consumer, MediaList[i].consumerUsage), MediaList[i].code) << i;
}

TEST(KeyCatalogue, ModifierBitsBothWays)
{
    struct Case {
        uint16_t code;
        uint8_t bit;
    };
    for (const Case& c : {Case{0x01D, 0x01}, Case{0x02A, 0x02}, Case{0x038, 0x04}, Case{0x15B, 0x08}, Case{0x11D, 0x10},
                          Case{0x036, 0x20}, Case{0x138, 0x40}, Case{0x15C, 0x80}}) {
        EXPECT_EQ(ModifierBitOf(c.code), c.bit) << std::hex << c.code;
        EXPECT_EQ(ModifierKeyOf(c.bit), c.code) << std::hex << c.code;
    }
    EXPECT_EQ(ModifierBitOf(0x136), 0x20);
    EXPECT_EQ(ModifierBitOf(0x01E), 0);
    EXPECT_EQ(ModifierBitOf(kNoKey), 0);
    EXPECT_EQ(ModifierKeyOf(0x22), 0x02A); // the lowest set bit wins
    EXPECT_EQ(ModifierKeyOf(0), kNoKey);
}

TEST(KeyCatalogue, ReleaseOnlyKeys)
{
    for (const uint16_t code : {0x054, 0x071, 0x072, 0x137})
        EXPECT_TRUE(IsReleaseOnlyKey(code)) << std::hex << code;
    for (const uint16_t code : {0x037, 0x073, 0x045, 0x000})
        EXPECT_FALSE(IsReleaseOnlyKey(code)) << std::hex << code;
}

} // namespace
} // namespace tavrix::model
