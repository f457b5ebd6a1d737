#pragma once

#include <string>

namespace tavrix::platform {

// Reads the whole file; false when it cannot be opened or read.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& bytes);

// Writes the bytes to a temporary file beside the target and renames it over the target, so a
// crash never leaves half a file. The folder must exist. False on any failure; the target is then
// unchanged.
[[nodiscard]] bool WriteFileAtomically(const std::string& path, const std::string& bytes);

// Creates the folder and its missing parents (mode 0700 for new ones); true when it exists
// afterwards.
[[nodiscard]] bool MakeFolders(const std::string& folder);

}  // namespace tavrix::platform
