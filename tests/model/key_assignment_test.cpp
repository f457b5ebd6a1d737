#include <array>

#include <gtest/gtest.h>

#include "model/key_assignment.h"

namespace tavrix::model {
namespace {

TEST(KeyAssignment, EncodesLittleEndianFieldByField)
{
    const KeyAssignment slot{0x0004, 0x1302, 0x11223344, 1, 0};
    std::array<uint8_t, KeyAssignment::kSize> bytes{};
    slot.Encode(bytes);
    const std::array<uint8_t, KeyAssignment::kSize> expected{0x04, 0x00, 0x02, 0x13, 0x44, 0x33, 0x22, 0x11,
                                                             0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(KeyAssignment::Decode(bytes), slot);
}

TEST(KeyAssignment, DecodeKeepsEveryByte)
{
    std::array<uint8_t, KeyAssignment::kSize> bytes{};
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(0xF0 + i);
    std::array<uint8_t, KeyAssignment::kSize> again{};
    KeyAssignment::Decode(bytes).Encode(again);
    EXPECT_EQ(again, bytes);
}

TEST(ProfileBlock, ClearSetsOnlyTheGKeyCodes)
{
    ProfileBlock block;
    block.fill(KeyAssignment{kTypeMacro, 7, 3, 1, 9});
    ClearProfileBlock(block);
    for (size_t slot = 0; slot < kSlotsPerBlock; ++slot) {
        KeyAssignment expected;
        if (slot >= kGKeySlotBase && slot < kGKeySlotBase + kGKeyCount)
            expected.gKeyCode = static_cast<uint16_t>(0x0301 + slot - kGKeySlotBase);
        if (slot >= kGKeySlotBase + kGKeyCount && slot < kGKeySlotEnd)
            expected.gKeyCode = static_cast<uint16_t>(0x1301 + slot - kGKeySlotBase - kGKeyCount);
        EXPECT_EQ(block[slot], expected) << "slot " << slot;
    }
}

} // namespace
} // namespace tavrix::model
