#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/config_model.h"
#include "model/lighting_settings.h"

// The readable twin of the profile file: the same model as JSON text, with keys, media keys,
// functions and macro actions named by their stable identifiers (key_identifiers.h). Every field
// of the binary file is kept, those the window never shows included, so a profile file written
// by the program comes back byte for byte from its JSON. The layout is described in
// docs/profile-format.md.
namespace tavrix::model {

inline constexpr std::string_view kProfileJsonFormat = "tavrix-profile";
inline constexpr int kProfileJsonVersion = 1;

// The lighting blocks of the keyboard's three profiles, which the binary profile file has no room
// for: the JSON form carries each one it is given beside the profile's keys, and reads back those
// it holds.
using ProfileLighting = std::array<std::optional<LightingBlock>, 3>;

// Why a JSON profile was refused, and where: a JSON pointer into the document ("/profiles/1/keys/A"),
// empty for the document as a whole.
struct ProfileJsonError {
    std::string place;
    std::string reason;

    // "place: reason", or the reason alone.
    std::string Message() const;
};

// The model and lighting as JSON text. False, with the place, for a model that holds what the JSON
// form refuses: a macro delay longer than the keyboard can play.
[[nodiscard]] bool EncodeProfileJson(const ConfigModel& model, const ProfileLighting& lighting, std::string& text,
                                     ProfileJsonError& error);

// The model and lighting the JSON text describes. False, with the first fault and its place, and
// both unchanged, for text that is not JSON, not this format or version, or names anything the
// profile file or the lighting cannot hold: an unknown key, media key, function or effect, a delay
// out of range, more than 100 macros or 2000 actions, a value too wide for its field.
[[nodiscard]] bool DecodeProfileJson(std::string_view text, ConfigModel& model, ProfileLighting& lighting,
                                     ProfileJsonError& error);

} // namespace tavrix::model
