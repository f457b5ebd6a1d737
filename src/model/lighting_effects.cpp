#include "model/lighting_effects.h"

#include <algorithm>

namespace tavrix::model {

namespace {

constexpr int kLastNumberedEffect = 28;
constexpr int kSpreadGatherEffect = 3;
constexpr int kUpDownEffect = 15;

bool IsNumberedEffect(int code)
{
    return code >= 1 && code <= kLastNumberedEffect;
}

bool HasSpeed(int code)
{
    return IsNumberedEffect(code) && code != 5 && code != 7 && code != 25;
}

bool HasDirection(int code)
{
    static constexpr int kCodes[] = {1, 2, 3, 4, 15, 16, 27, 28};
    return std::find(std::begin(kCodes), std::end(kCodes), code) != std::end(kCodes);
}

} // namespace

std::vector<uint8_t> SupportedEffects(std::span<const uint8_t, device::kInfoBlockSize> info)
{
    std::vector<uint8_t> codes;
    for (uint8_t code : info.subspan<device::kInfoEffectListOffset, device::kInfoEffectListSize>()) {
        if (code != 0) {
            codes.push_back(code);
        }
    }
    return codes;
}

bool IsKnownEffect(int code)
{
    return IsNumberedEffect(code) || code == kPerKeyEffect;
}

PanelVisibility VisibleControls(int code, EffectShown how)
{
    if (!IsKnownEffect(code)) {
        if (how == EffectShown::Chosen) {
            return {};
        }
        return {true, true, true, true, false};
    }
    return {true, true, HasSpeed(code), HasDirection(code), code == kPerKeyEffect};
}

std::string DirectionLayoutSuffix(int code)
{
    if (code >= 1 && code <= 3) {
        return "2";
    }
    return code == 12 ? "3" : "";
}

DirectionPictureNames DirectionPicturesOf(int code)
{
    if (code == kSpreadGatherEffect) {
        return {"kuosan.bmp", "kuosandown.bmp", "julong.bmp", "julongdown.bmp"};
    }
    if (code == kUpDownEffect) {
        return {"upup.bmp", "updown.bmp", "downup.bmp", "downdown.bmp"};
    }
    return {"leftup.bmp", "leftdown.bmp", "rightup.bmp", "rightdown.bmp"};
}

} // namespace tavrix::model
