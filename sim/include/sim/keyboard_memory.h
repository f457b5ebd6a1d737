#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/keyboard_layout.h"

namespace tavrix::sim {

// Everything the keyboard keeps in its flash, as plain bytes.
struct KeyboardMemory {
    using KeyTable = std::array<uint8_t, kKeyTableSize>;

    std::array<uint8_t, kInfoSize> info{};
    KeyTable defaultKeys{};
    std::array<KeyTable, kProfileCount> keyTables{};
    std::array<uint8_t, kLightingSize> lighting{};
    std::array<uint8_t, kLampMemorySize> lamps{};
    std::vector<uint8_t> extra; // ExtraCapacityOf(info) bytes

    bool operator==(const KeyboardMemory&) const = default;
};

// Size of the extra area an information block announces: byte 11 in units of 128 bytes.
std::size_t ExtraCapacityOf(const std::array<uint8_t, kInfoSize>& info);

} // namespace tavrix::sim
