#include "model/key_assignment.h"

namespace tavrix::model {

namespace {

void Put16(std::span<uint8_t> out, size_t offset, uint16_t value)
{
    out[offset] = static_cast<uint8_t>(value & 0xFF);
    out[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void Put32(std::span<uint8_t> out, size_t offset, uint32_t value)
{
    Put16(out, offset, static_cast<uint16_t>(value & 0xFFFF));
    Put16(out, offset + 2, static_cast<uint16_t>(value >> 16));
}

uint16_t Get16(std::span<const uint8_t> in, size_t offset)
{
    return static_cast<uint16_t>(in[offset] | (in[offset + 1] << 8));
}

uint32_t Get32(std::span<const uint8_t> in, size_t offset)
{
    return Get16(in, offset) | (static_cast<uint32_t>(Get16(in, offset + 2)) << 16);
}

constexpr size_t kTypeOffset = 0;
constexpr size_t kGKeyCodeOffset = 2;
constexpr size_t kValueOffset = 4;
constexpr size_t kLampFlagOffset = 8;
constexpr size_t kReservedOffset = 12;
static_assert(kReservedOffset + 4 == KeyAssignment::kSize);

}  // namespace

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

}  // namespace tavrix::model
