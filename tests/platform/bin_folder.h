#pragma once

#include <cstdlib>
#include <string>

// The folder with the built executables and their data: $TAVRIX_BIN_DIR, or the output folder
// this build was configured with.
inline std::string BinFolder()
{
    const char* folder = std::getenv("TAVRIX_BIN_DIR");
    return (folder != nullptr && folder[0] != '\0') ? std::string(folder) : std::string(TAVRIX_BUILD_BIN_DIR);
}
