#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "sim/keyboard_memory.h"

// What a keyboard holds when it leaves the factory. Tests of other parts use these tables as the
// keyboard's answers (the default key table above all).
namespace tavrix::sim {

// Extra-area capacity of a factory keyboard, in units of 128 bytes (16384 bytes).
inline constexpr uint8_t kFactoryExtraUnits = 0x80;
// Effect codes the keyboard offers, in the order of its list; 0xFE is the per-key effect.
inline constexpr uint8_t kPerKeyEffect = 0xFE;

// A position of the default key table: the key that sits there (set-1 scan code, plus 0x100 for
// keys sent with the 0xE0 prefix; 0 for a position with no key) and its 3-byte entry.
struct DefaultKeyEntry {
    uint16_t keyCode = 0;
    std::array<uint8_t, kKeyEntrySize> entry{};
};

// All 108 positions in table order: the 104 keys of a full-size US keyboard, then four positions
// the key matrix leaves unused, which send nothing.
std::span<const DefaultKeyEntry, kKeyPositions> DefaultKeyEntries();
KeyboardMemory::KeyTable DefaultKeyTable();
// The position of the key with the given key code in the default key table, or -1.
int DefaultKeyPosition(uint16_t keyCode);

std::array<uint8_t, kInfoSize> FactoryInfoBlock();
// An extra area holding no macros: a valid header, zero beyond.
std::vector<uint8_t> FactoryExtraArea(std::size_t capacity);

KeyboardMemory FactoryMemory();

} // namespace tavrix::sim
