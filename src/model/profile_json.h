#pragma once

#include <string>
#include <string_view>

#include "model/config_model.h"

// The readable twin of the profile file: the same model as JSON text, with keys, media keys,
// functions and macro actions named by their stable identifiers (key_identifiers.h). Every field
// of the binary file is kept, those the window never shows included, so a profile file written
// by the program comes back byte for byte from its JSON. The layout is described in
// docs/profile-format.md.
namespace tavrix::model {

inline constexpr std::string_view kProfileJsonFormat = "tavrix-profile";
inline constexpr int kProfileJsonVersion = 1;

// Why a JSON profile was refused, and where: a JSON pointer into the document ("/profiles/1/keys/A"),
// empty for the document as a whole.
struct ProfileJsonError {
    std::string place;
    std::string reason;

    // "place: reason", or the reason alone.
    std::string Message() const;
};

// The model as JSON text. False, with the place, for a model that holds what the JSON form
// refuses: a macro delay longer than the keyboard can play.
[[nodiscard]] bool EncodeProfileJson(const ConfigModel& model, std::string& text, ProfileJsonError& error);

// The model the JSON text describes. False, with the first fault and its place, and the model
// unchanged, for text that is not JSON, not this format or version, or names anything the
// profile file cannot hold: an unknown key, media key or function, a delay out of range, more than
// 100 macros or 2000 actions, a value too wide for its field.
[[nodiscard]] bool DecodeProfileJson(std::string_view text, ConfigModel& model, ProfileJsonError& error);

} // namespace tavrix::model
