#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Little-endian fields of binary records and messages. Writers and readers assume the caller
// sized the buffer.
namespace tavrix::platform {

inline void Put16(std::span<uint8_t> out, size_t offset, uint16_t value)
{
    out[offset] = static_cast<uint8_t>(value & 0xFF);
    out[offset + 1] = static_cast<uint8_t>(value >> 8);
}

inline void Put32(std::span<uint8_t> out, size_t offset, uint32_t value)
{
    Put16(out, offset, static_cast<uint16_t>(value & 0xFFFF));
    Put16(out, offset + 2, static_cast<uint16_t>(value >> 16));
}

inline uint16_t Get16(std::span<const uint8_t> in, size_t offset)
{
    return static_cast<uint16_t>(in[offset] | (in[offset + 1] << 8));
}

inline uint32_t Get32(std::span<const uint8_t> in, size_t offset)
{
    return Get16(in, offset) | (static_cast<uint32_t>(Get16(in, offset + 2)) << 16);
}

} // namespace tavrix::platform
