#pragma once

#include <string>

// The folder with the built executables and their data, as this build was configured.
inline std::string BinFolder()
{
    return TAVRIX_BUILD_BIN_DIR;
}
