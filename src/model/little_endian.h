#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/little_endian.h"

namespace tavrix::model {

// The model's binary records (macro records, the extra area, profile files) use the platform's
// little-endian fields; reads from untrusted bytes go through ByteReader.
using platform::Get16;
using platform::Get32;
using platform::Put16;
using platform::Put32;

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

} // namespace tavrix::model
