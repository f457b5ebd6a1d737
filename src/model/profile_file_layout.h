#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "model/key_assignment.h"
#include "model/macro_record.h"

namespace tavrix::model {

inline constexpr uint16_t kProfileMagic = 0x4446; // the bytes "F" "D"
inline constexpr uint16_t kProfileFormatMajor = 3;
inline constexpr uint16_t kProfileFormatMinor = 1;

// The 32-byte header at the start of every profile file (and of the model image).
// Little-endian: magic, header size, two format values, total file size, slot count, macro count,
// text pool size, three reserved fields, a flag and the sum of bytes 0..30.
struct ProfileFileHeader {
    static constexpr size_t kSize = 32;

    uint16_t magic = kProfileMagic;
    uint16_t headerSize = kSize;
    uint16_t formatMajor = kProfileFormatMajor;
    uint16_t formatMinor = kProfileFormatMinor;
    uint32_t totalSize = 0;
    uint16_t slotCount = kSlotCount;
    uint16_t macroCount = 0;
    uint32_t textPoolSize = 0;
    uint32_t reserved1 = 0;
    uint32_t reserved2 = 0;
    uint16_t reserved3 = 0;
    uint8_t flag = 0;

    // Writes every field and the sum of the bytes before it.
    void Encode(std::span<uint8_t, kSize> out) const;
    static ProfileFileHeader Decode(std::span<const uint8_t, kSize> in);
    // Sum of bytes 0..30, modulo 256: the value byte 31 must hold.
    static uint8_t Sum(std::span<const uint8_t, kSize> bytes);
    static constexpr size_t kSumOffset = 31;

    bool operator==(const ProfileFileHeader&) const = default;
};

// Describes the keyboard the file was made for (vendor 0x0C45, product 0x768F). Written as it is
// into new files; kept as read otherwise.
inline constexpr size_t kDeviceDescriptionSize = 32;
using DeviceDescription = std::array<uint8_t, kDeviceDescriptionSize>;
inline constexpr DeviceDescription kDeviceDescription{0x4B, 0x48, 0x20, 0x00, 0x20, 0x80, 0x00, 0x00, 0x04, 0x00, 0x00,
                                                      0x02, 0x00, 0x00, 0x00, 0x00, 0x45, 0x0C, 0x8F, 0x76, 0x4F, 0x1C,
                                                      0x0E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

// The fixed first part of a profile file: header, device description and the 2048 key slots of
// the four profile blocks. Macros and the text pool follow it in the file.
struct ModelImage {
    static constexpr size_t kSlotsOffset = ProfileFileHeader::kSize + kDeviceDescriptionSize;
    static constexpr size_t kSize = kSlotsOffset + kSlotCount * KeyAssignment::kSize;

    ProfileFileHeader header;
    DeviceDescription description = kDeviceDescription;
    std::array<ProfileBlock, kProfileBlockCount> blocks{};

    // Slot 0..2047 across the four blocks.
    KeyAssignment& Slot(size_t index) { return blocks[index / kSlotsPerBlock][index % kSlotsPerBlock]; }
    const KeyAssignment& Slot(size_t index) const { return blocks[index / kSlotsPerBlock][index % kSlotsPerBlock]; }

    void Encode(std::span<uint8_t, kSize> out) const;
    static ModelImage Decode(std::span<const uint8_t, kSize> in);

    bool operator==(const ModelImage&) const = default;
};
static_assert(ModelImage::kSize == 32832);

// Total size of a profile file with that many macros and that text pool.
constexpr uint64_t ProfileFileSize(uint64_t macroCount, uint64_t textPoolSize)
{
    return ModelImage::kSize + MacroRecord::kSize * macroCount + textPoolSize;
}

// A new image: header for no macros and no texts with the given flag, the device description, all
// slots zero except the G-key codes of the first block.
ModelImage NewModelImage(uint8_t flag);

} // namespace tavrix::model
