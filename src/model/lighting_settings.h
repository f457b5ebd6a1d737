#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/commands.h"

// One lighting profile's settings block as the keyboard keeps it (42 bytes), and what the
// lighting panel reads out of it. The colour, trigger and flag bytes have no control of their
// own: they stay in the block as read and only the factory block rewrites them.
namespace tavrix::model {

inline constexpr std::size_t kLightingBlockSize = device::kLightingBlockSize;
using LightingBlock = std::array<uint8_t, kLightingBlockSize>;

// Offsets of the fields the panel edits.
inline constexpr std::size_t kEffectOffset = 0;
inline constexpr std::size_t kBrightnessOffset = 1;
inline constexpr std::size_t kSpeedOffset = 2;
inline constexpr std::size_t kUserPatternOffset = 3;
inline constexpr std::size_t kDirectionOffset = 4;
inline constexpr std::size_t kReportRateOffset = 15;
inline constexpr std::size_t kToolOffset = 16;

inline constexpr uint8_t kDirectionLeft = 255;
inline constexpr uint8_t kDirectionRight = 0;
inline constexpr uint8_t kToolLight = 0;
inline constexpr uint8_t kToolDarken = 1;
inline constexpr int kReportRateLast = 3;
inline constexpr int kUserPatternCount = 10;
inline constexpr int kSliderLast = 4;

// Address in the keyboard's lighting area of the field at offset in profile's block.
[[nodiscard]] constexpr int LightingAddress(int profile, std::size_t offset)
{
    return static_cast<int>(kLightingBlockSize * static_cast<std::size_t>(profile) + offset);
}

struct LightingSettings {
    uint8_t effect = 0;
    uint8_t brightness = 0;
    uint8_t speed = 0;
    // 0..9; a value the keyboard should never hold reads as 0, so it never addresses past the
    // lamp area.
    uint8_t userPattern = 0;
    uint8_t direction = 0;
    // 0..3; larger values read as 3.
    uint8_t reportRate = 0;
    // kToolLight or kToolDarken; larger values read as kToolLight.
    uint8_t tool = 0;
};

[[nodiscard]] LightingSettings DecodeLightingSettings(std::span<const uint8_t, kLightingBlockSize> block);

// The first 35 bytes of the block as restore defaults writes them: effect 5, brightness 3,
// speed 1, pattern 0, direction 255, red and white colours.
inline constexpr std::size_t kDefaultBlockLength = 35;
[[nodiscard]] std::span<const uint8_t, kDefaultBlockLength> DefaultLightingBlock();

// The slider shows speed mirrored: position 4 is the slowest speed 0. Positions past the range
// pass through unchanged.
[[nodiscard]] int SpeedOfSliderPosition(int position);
[[nodiscard]] int SliderPositionOfSpeed(int speed);

} // namespace tavrix::model
