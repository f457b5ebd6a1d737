#pragma once

#include <optional>
#include <string>

#include "model/config_model.h"
#include "model/profile_json.h"

// Profile files on the command line: ".fwc" for the program's binary profile file, ".json" for
// its readable twin, told apart by the extension alone (without regard to case). Only the JSON form
// carries the profiles' lighting.
namespace tavrix::ctl {

enum class DocumentKind { Binary, Json };

std::optional<DocumentKind> KindOf(const std::string& path);

// Loads the whole file into the model and lighting (none from a ".fwc" file); false, with a
// one-line message naming the file (and the place in a JSON file), when it does not load whole.
// Both are then unchanged.
[[nodiscard]] bool LoadDocument(const std::string& path, model::ConfigModel& model, model::ProfileLighting& lighting,
                                std::string& message);

// Writes the model (and in JSON the lighting) to the file in the kind its extension names,
// replacing it whole; false with a one-line message.
[[nodiscard]] bool SaveDocument(const std::string& path, model::ConfigModel& model,
                                const model::ProfileLighting& lighting, std::string& message);

} // namespace tavrix::ctl
