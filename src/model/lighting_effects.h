#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "device/commands.h"

// The lighting effects: which ones the keyboard offers, and which of the panel's controls each
// one needs.
namespace tavrix::model {

inline constexpr int kPerKeyEffect = 254;

// The non-zero effect codes listed in the keyboard's information block, in list order.
[[nodiscard]] std::vector<uint8_t> SupportedEffects(std::span<const uint8_t, device::kInfoBlockSize> info);

// 1..28 and the per-key effect.
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

// The suffix of the skin keys the direction controls move to for an effect: "2" for 1 to 3,
// "3" for 12, "" otherwise.
[[nodiscard]] std::string DirectionLayoutSuffix(int code);

// Picture file names of the direction controls for an effect: the left (direction 255) and right
// (direction 0) picture, each released and pressed.
struct DirectionPictureNames {
    const char* leftReleased;
    const char* leftPressed;
    const char* rightReleased;
    const char* rightPressed;
};
[[nodiscard]] DirectionPictureNames DirectionPicturesOf(int code);

} // namespace tavrix::model
