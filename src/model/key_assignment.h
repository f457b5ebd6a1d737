#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tavrix::model {

// Assignment types stored in a key slot. The field stays a plain number: files may carry types
// this program never creates, and they are kept as they are.
inline constexpr uint16_t kTypeDefault = 0;
inline constexpr uint16_t kTypeDisabled = 1;
inline constexpr uint16_t kTypeKey = 2;
inline constexpr uint16_t kTypeDefaultWithText = 3;
inline constexpr uint16_t kTypeMacro = 4;
inline constexpr uint16_t kTypeKeyboardSpecial = 5;
inline constexpr uint16_t kTypeNoOutputWithText = 6;
inline constexpr uint16_t kTypeMedia = 7;
inline constexpr uint16_t kTypeFunction = 8;

// One key slot: what a key (or a G-key) of one profile does. 16 bytes on disk, little-endian:
// type (2), G-key code (2), value (4), lamp flag (4), reserved (4).
struct KeyAssignment {
    static constexpr size_t kSize = 16;

    uint16_t type = kTypeDefault;
    // The G-key slots' identity (0x0301.. bank A, 0x1301.. bank B); a macro assignment made in the
    // editor keeps its play count here. Never sent to the keyboard.
    uint16_t gKeyCode = 0;
    uint32_t value = 0;
    uint32_t lampFlag = 0;
    uint32_t reserved = 0;

    void Encode(std::span<uint8_t, kSize> out) const;
    static KeyAssignment Decode(std::span<const uint8_t, kSize> in);

    bool operator==(const KeyAssignment&) const = default;
};

// Slots of a profile block: 0..255 by key index, then the nine G-keys of bank A and of bank B.
inline constexpr size_t kSlotsPerBlock = 512;
inline constexpr size_t kProfileBlockCount = 4;
inline constexpr size_t kSlotCount = kSlotsPerBlock * kProfileBlockCount;
inline constexpr size_t kGKeyCount = 9;
inline constexpr size_t kGKeySlotBase = 256;
inline constexpr size_t kGKeySlotEnd = kGKeySlotBase + 2 * kGKeyCount;

using ProfileBlock = std::array<KeyAssignment, kSlotsPerBlock>;

enum class GKeyBank { A = 0, B = 1 };

// Slot of G-key position 0..8 (G1..G9) in the given bank.
constexpr size_t GKeySlot(GKeyBank bank, size_t position)
{
    return kGKeySlotBase + static_cast<size_t>(bank) * kGKeyCount + position;
}

// The G-key code a cleared block carries in that G-key's slot.
constexpr uint16_t GKeyCode(GKeyBank bank, size_t position)
{
    return static_cast<uint16_t>((bank == GKeyBank::A ? 0x0301 : 0x1301) + position);
}

// All slots zero except the G-key codes in slots 256..273.
void ClearProfileBlock(ProfileBlock& block);

} // namespace tavrix::model
