#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tavrix::model {

// Little-endian fields of the model's binary records (macro records, the extra area, profile
// files). Writers assume the caller sized the buffer; reads from untrusted bytes go through
// ByteReader.

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

// Reads fields from bytes that may be damaged: every read is checked against the end, and a read
// that does not fit fails without moving, so the caller can stop cleanly.
class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> bytes, size_t position = 0) : m_bytes(bytes), m_position(position) {}

    [[nodiscard]] bool Read8(uint8_t& value)
    {
        if (!Fits(1))
            return false;
        value = m_bytes[m_position++];
        return true;
    }

    [[nodiscard]] bool Read16(uint16_t& value)
    {
        if (!Fits(2))
            return false;
        value = Get16(m_bytes, m_position);
        m_position += 2;
        return true;
    }

    // The next count bytes, or false when fewer remain.
    [[nodiscard]] bool ReadBytes(size_t count, std::span<const uint8_t>& bytes)
    {
        if (!Fits(count))
            return false;
        bytes = m_bytes.subspan(m_position, count);
        m_position += count;
        return true;
    }

    size_t Position() const { return m_position; }

private:
    bool Fits(size_t count) const { return m_position <= m_bytes.size() && count <= m_bytes.size() - m_position; }

    std::span<const uint8_t> m_bytes;
    size_t m_position;
};

}  // namespace tavrix::model
