#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "device/commands.h"

// A lighting profile's per-key lamp area: ten user patterns of 18 bytes, one bit per lamp
// (lamp n is bit n mod 8 of byte n div 8, least significant bit first).
namespace tavrix::model {

using device::kLampAreaSize;
inline constexpr std::size_t kLampPatternSize = 18;
inline constexpr int kLampCount = static_cast<int>(kLampPatternSize * 8);
using LampArea = std::array<uint8_t, kLampAreaSize>;

// Offset in the area of the byte holding lamp of pattern (0..9, lamp 0..143).
[[nodiscard]] constexpr std::size_t LampByteOffset(int pattern, int lamp)
{
    return kLampPatternSize * static_cast<std::size_t>(pattern) + static_cast<std::size_t>(lamp) / 8;
}

[[nodiscard]] bool IsLampLit(const LampArea& area, int pattern, int lamp);
void SetLamp(LampArea& area, int pattern, int lamp, bool lit);
// Sets every lamp of pattern lit or dark.
void SetAllLamps(LampArea& area, int pattern, bool lit);

// The ten patterns restore defaults writes; pattern 0 lights W, A, S, D and the arrows.
[[nodiscard]] const LampArea& DefaultLampPatterns();

} // namespace tavrix::model
