#pragma once

#include <string>

namespace tavrix::platform {

// A path split the way the program's paths are built: Linux has no drives, so drive is always
// empty; folder keeps its trailing slash; extension keeps its dot.
struct PathParts {
    std::string drive;
    std::string folder;
    std::string name;
    std::string extension;
};

PathParts SplitPath(const std::string& path);

// The full path of the running executable (from /proc/self/exe); empty when it cannot be read.
std::string ExecutablePath();

// Drive and folder of the running executable, with the trailing slash.
std::string ExecutableFolder();

} // namespace tavrix::platform
