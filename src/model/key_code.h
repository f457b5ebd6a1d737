#pragma once

#include <cstddef>
#include <cstdint>

namespace tavrix::model {

// A key code names a key: its set-1 make code, plus 0x100 for keys sent with the 0xE0 prefix,
// plus the program's pseudo keys (mouse, wheel, office functions) in 0x161..0x17E. 0 is no key.
inline constexpr uint16_t kNoKey = 0;
inline constexpr size_t kKeyIndexCount = 256;

// The 0..255 index of every per-key table. Codes that would index past the table (an
// 0xE0-prefixed code with a break-code low byte, 0x180 and up) name no key and give 0.
constexpr size_t KeyIndexOf(uint16_t code)
{
    if (code < 0x100)
        return code & 0xFF;
    const size_t index = (code & 0xFFu) + 0x80;
    return index < kKeyIndexCount ? index : 0;
}

// The key a slot's 32-bit value names. A value beyond 16 bits names no key: it must not alias a
// key through truncation.
constexpr uint16_t KeyOfSlotValue(uint32_t value)
{
    return value <= 0xFFFF ? static_cast<uint16_t>(value) : kNoKey;
}

constexpr uint16_t KeyCodeOf(size_t index)
{
    if (index >= kKeyIndexCount)
        return kNoKey;
    return static_cast<uint16_t>(index < 0x80 ? index : index + 0x80);
}

} // namespace tavrix::model
