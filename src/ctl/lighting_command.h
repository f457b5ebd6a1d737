#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "ctl/ctl_protocol.h"
#include "device/command_set.h"
#include "model/lighting_settings.h"
#include "model/profile_json.h"

// The lighting as tavrix-ctl reads and writes it: the current profile's settings block, read and
// written with the keyboard's configuration bracket as the lighting panel does, and the words the
// command line names effects, directions and report rates by.
namespace tavrix::ctl {

// An effect by its identifier (model::EffectIdentifier) or its decimal code (1..255); nothing for
// anything else.
std::optional<uint8_t> EffectOfName(std::string_view text);

// Report-rate codes 0..3 are 1000, 500, 250 and 125 Hz.
inline constexpr std::array<int, model::kReportRateLast + 1> kReportRatesHz{1000, 500, 250, 125};
int ReportRateHz(int code);
std::optional<uint8_t> ReportRateOfHz(int hz);

// "left", "up" and "spread" are direction 255; "right", "down" and "gather" are 0.
std::optional<uint8_t> DirectionOfWord(std::string_view word);
// The word the effect's direction controls show for a direction.
std::string_view DirectionWord(int effect, uint8_t direction);

// Reads the profile's 42-byte settings block: a result code of the command set.
[[nodiscard]] int ReadLightingBlock(device::CommandSet& commands, int profile, model::LightingBlock& block);

// Done when the keyboard lists every one of the effects and the panel knows them; what a write of
// them would be refused with otherwise.
[[nodiscard]] CtlOutcome CheckEffectsOffered(device::CommandSet& commands, std::span<const uint8_t> effects);

// Writes the change to the current profile's block in one bracket. An effect the keyboard does
// not list is refused before anything is written.
[[nodiscard]] CtlOutcome ChangeLighting(device::CommandSet& commands, const LightingChange& change);

// Writes the whole blocks of the profiles that have one, in one bracket. Check their effects
// first.
[[nodiscard]] CtlOutcome WriteLightingBlocks(device::CommandSet& commands, const model::ProfileLighting& lighting);

} // namespace tavrix::ctl
