#include "model/key_assignment.h"

#include "model/little_endian.h"

namespace tavrix::model {

namespace {

constexpr size_t kTypeOffset = 0;
constexpr size_t kGKeyCodeOffset = 2;
constexpr size_t kValueOffset = 4;
constexpr size_t kLampFlagOffset = 8;
constexpr size_t kReservedOffset = 12;
static_assert(kReservedOffset + 4 == KeyAssignment::kSize);

} // namespace

void KeyAssignment::Encode(std::span<uint8_t, kSize> out) const
{
    Put16(out, kTypeOffset, type);
    Put16(out, kGKeyCodeOffset, gKeyCode);
    Put32(out, kValueOffset, value);
    Put32(out, kLampFlagOffset, lampFlag);
    Put32(out, kReservedOffset, reserved);
}

KeyAssignment KeyAssignment::Decode(std::span<const uint8_t, kSize> in)
{
    KeyAssignment slot;
    slot.type = Get16(in, kTypeOffset);
    slot.gKeyCode = Get16(in, kGKeyCodeOffset);
    slot.value = Get32(in, kValueOffset);
    slot.lampFlag = Get32(in, kLampFlagOffset);
    slot.reserved = Get32(in, kReservedOffset);
    return slot;
}

void ClearProfileBlock(ProfileBlock& block)
{
    block.fill(KeyAssignment{});
    for (size_t position = 0; position < kGKeyCount; ++position) {
        block[GKeySlot(GKeyBank::A, position)].gKeyCode = GKeyCode(GKeyBank::A, position);
        block[GKeySlot(GKeyBank::B, position)].gKeyCode = GKeyCode(GKeyBank::B, position);
    }
}

} // namespace tavrix::model
