#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

// Little-endian fields of binary records and messages. Writers and readers assume the caller
// sized the buffer. On a little-endian host a field moves as one word rather than byte by byte:
// the profile codecs move a few hundred thousand of them per file.
namespace tavrix::platform {

inline constexpr bool kHostIsLittleEndian = std::endian::native == std::endian::little;

inline void Put16(std::span<uint8_t> out, size_t offset, uint16_t value)
{
    if constexpr (kHostIsLittleEndian) {
        std::memcpy(out.data() + offset, &value, sizeof value);
    } else {
        out[offset] = static_cast<uint8_t>(value & 0xFF);
        out[offset + 1] = static_cast<uint8_t>(value >> 8);
    }
}

inline void Put32(std::span<uint8_t> out, size_t offset, uint32_t value)
{
    if constexpr (kHostIsLittleEndian) {
        std::memcpy(out.data() + offset, &value, sizeof value);
    } else {
        Put16(out, offset, static_cast<uint16_t>(value & 0xFFFF));
        Put16(out, offset + 2, static_cast<uint16_t>(value >> 16));
    }
}

inline uint16_t Get16(std::span<const uint8_t> in, size_t offset)
{
    if constexpr (kHostIsLittleEndian) {
        uint16_t value = 0;
        std::memcpy(&value, in.data() + offset, sizeof value);
        return value;
    } else {
        return static_cast<uint16_t>(in[offset] | (in[offset + 1] << 8));
    }
}

inline uint32_t Get32(std::span<const uint8_t> in, size_t offset)
{
    if constexpr (kHostIsLittleEndian) {
        uint32_t value = 0;
        std::memcpy(&value, in.data() + offset, sizeof value);
        return value;
    } else {
        return Get16(in, offset) | (static_cast<uint32_t>(Get16(in, offset + 2)) << 16);
    }
}

} // namespace tavrix::platform
