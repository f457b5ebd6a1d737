#include "model/lighting_effects.h"

#include <algorithm>
#include <array>

namespace tavrix::model {

namespace {

using enum DirectionLayout;
using enum DirectionLook;

// clang-format off
constexpr std::array<EffectTraits, 29> kEffects{{
    // code  speed  direction  layout  look
    {1,      true,  true,      Second, LeftRight},
    {2,      true,  true,      Second, LeftRight},
    {3,      true,  true,      Second, SpreadGather},
    {4,      true,  true,      Usual,  LeftRight},
    {5,      false, false,     Usual,  LeftRight},
    {6,      true,  false,     Usual,  LeftRight},
    {7,      false, false,     Usual,  LeftRight},
    {8,      true,  false,     Usual,  LeftRight},
    {9,      true,  false,     Usual,  LeftRight},
    {10,     true,  false,     Usual,  LeftRight},
    {11,     true,  false,     Usual,  LeftRight},
    {12,     true,  false,     Third,  LeftRight},
    {13,     true,  false,     Usual,  LeftRight},
    {14,     true,  false,     Usual,  LeftRight},
    {15,     true,  true,      Usual,  UpDown},
    {16,     true,  true,      Usual,  LeftRight},
    {17,     true,  false,     Usual,  LeftRight},
    {18,     true,  false,     Usual,  LeftRight},
    {19,     true,  false,     Usual,  LeftRight},
    {20,     true,  false,     Usual,  LeftRight},
    {21,     true,  false,     Usual,  LeftRight},
    {22,     true,  false,     Usual,  LeftRight},
    {23,     true,  false,     Usual,  LeftRight},
    {24,     true,  false,     Usual,  LeftRight},
    {25,     false, false,     Usual,  LeftRight},
    {26,     true,  false,     Usual,  LeftRight},
    {27,     true,  true,      Usual,  LeftRight},
    {28,     true,  true,      Usual,  LeftRight},
    {kPerKeyEffect, false, false, Usual, LeftRight},
}};
// clang-format on

} // namespace

const EffectTraits* FindEffect(int code)
{
    const auto found = std::find_if(kEffects.begin(), kEffects.end(),
                                    [code](const EffectTraits& effect) { return effect.code == code; });
    return found == kEffects.end() ? nullptr : &*found;
}

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
    return FindEffect(code) != nullptr;
}

PanelVisibility VisibleControls(int code, EffectShown how)
{
    const EffectTraits* effect = FindEffect(code);
    if (effect == nullptr) {
        if (how == EffectShown::Chosen) {
            return {};
        }
        return {true, true, true, true, false};
    }
    return {true, true, effect->speed, effect->direction, code == kPerKeyEffect};
}

DirectionLayout DirectionLayoutOf(int code)
{
    const EffectTraits* effect = FindEffect(code);
    return effect == nullptr ? Usual : effect->layout;
}

DirectionLook DirectionLookOf(int code)
{
    const EffectTraits* effect = FindEffect(code);
    return effect == nullptr ? LeftRight : effect->look;
}

} // namespace tavrix::model
