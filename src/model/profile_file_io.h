#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace tavrix::model {

// Writes the bytes to a new file beside the target and renames it over the target, so a crash or
// a full disk leaves either the old file or the new one, never half of either. The target keeps
// its permissions when it existed. False when any step fails; the target is then untouched and
// no temporary file is left behind.
[[nodiscard]] bool WriteFileReplacing(const std::filesystem::path& path, std::span<const uint8_t> bytes);

} // namespace tavrix::model
