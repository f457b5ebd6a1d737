#include "model/lighting_settings.h"

namespace tavrix::model {

namespace {

constexpr std::array<uint8_t, kDefaultBlockLength> kDefaultBlock{
    0x05, 0x03, 0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x08, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00,
    0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00};

} // namespace

LightingSettings DecodeLightingSettings(std::span<const uint8_t, kLightingBlockSize> block)
{
    LightingSettings settings;
    settings.effect = block[kEffectOffset];
    settings.brightness = block[kBrightnessOffset];
    settings.speed = block[kSpeedOffset];
    const uint8_t pattern = block[kUserPatternOffset];
    settings.userPattern = pattern < kUserPatternCount ? pattern : 0;
    settings.direction = block[kDirectionOffset];
    settings.reportRate = block[kReportRateOffset] > kReportRateLast ? kReportRateLast : block[kReportRateOffset];
    settings.tool = block[kToolOffset] > kToolDarken ? kToolLight : block[kToolOffset];
    return settings;
}

std::span<const uint8_t, kDefaultBlockLength> DefaultLightingBlock()
{
    return kDefaultBlock;
}

int SpeedOfSliderPosition(int position)
{
    return position >= 0 && position <= kSliderLast ? kSliderLast - position : position;
}

int SliderPositionOfSpeed(int speed)
{
    return kSliderLast - speed;
}

} // namespace tavrix::model
