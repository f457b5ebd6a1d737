#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>

#include "sim/keyboard_simulator.h"

// Requests written out byte by byte, the way the keyboard sees them.
namespace tavrix::sim::testing {

inline Report Frame(uint8_t command, uint8_t length = 0, uint16_t address = 0, std::span<const uint8_t> data = {})
{
    Report frame{};
    frame[0] = 4;
    frame[3] = command;
    frame[4] = length;
    frame[5] = static_cast<uint8_t>(address & 0xFF);
    frame[6] = static_cast<uint8_t>(address >> 8);
    for (std::size_t i = 0; i < data.size() && 8 + i < frame.size(); ++i) {
        frame[8 + i] = data[i];
    }
    return frame;
}

inline Report Frame(uint8_t command, uint8_t length, uint16_t address, std::initializer_list<uint8_t> data)
{
    return Frame(command, length, address, std::span<const uint8_t>(data.begin(), data.size()));
}

} // namespace tavrix::sim::testing
