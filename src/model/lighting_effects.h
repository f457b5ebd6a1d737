#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "device/commands.h"

// The lighting effects: which ones the keyboard offers, and one table of what each effect this
// program knows needs. How the panel draws them (pictures, skin keys) is the panel's.
namespace tavrix::model {

inline constexpr int kPerKeyEffect = 254;

// Where the direction controls sit for an effect: their usual place or one of two others.
enum class DirectionLayout { Usual, Second, Third };

// What the two direction choices of an effect mean.
enum class DirectionLook { LeftRight, SpreadGather, UpDown };

struct EffectTraits {
    uint8_t code;
    bool speed;     // has a speed
    bool direction; // has a direction
    DirectionLayout layout;
    DirectionLook look;
};

// The effects this program knows: 1 to 28 and the per-key effect; nullptr for any other code.
[[nodiscard]] const EffectTraits* FindEffect(int code);

// The non-zero effect codes listed in the keyboard's information block, in list order.
[[nodiscard]] std::vector<uint8_t> SupportedEffects(std::span<const uint8_t, device::kInfoBlockSize> info);

[[nodiscard]] bool IsKnownEffect(int code);

// How the panel came to show an effect: refreshed or switched on (Shown), or picked by the user
// from the effect list (Chosen).
enum class EffectShown { Shown, Chosen };

// The panel's controls that are visible while the lighting edit is on.
struct PanelVisibility {
    bool effectList = false;
    bool brightness = false;
    bool speed = false;
    bool direction = false;
    bool perKey = false; // tool, all dark, all lit, user pattern

    bool operator==(const PanelVisibility&) const = default;
};

// An unknown code shows the general controls when it comes from the keyboard, but hides the
// whole panel when the user picks it, as nothing can be written for it.
[[nodiscard]] PanelVisibility VisibleControls(int code, EffectShown how);

// The layout and look of the direction controls; an unknown code has the usual ones.
[[nodiscard]] DirectionLayout DirectionLayoutOf(int code);
[[nodiscard]] DirectionLook DirectionLookOf(int code);

} // namespace tavrix::model
