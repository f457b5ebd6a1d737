#include "platform/executable_path.h"

#include <climits>

#include <unistd.h>

namespace tavrix::platform {

PathParts SplitPath(const std::string& path)
{
    PathParts parts;
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    parts.folder = path.substr(0, nameStart);
    const std::string fileName = path.substr(nameStart);
    const size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || dot == 0) {
        parts.name = fileName;
        return parts;
    }
    parts.name = fileName.substr(0, dot);
    parts.extension = fileName.substr(dot);
    return parts;
}

std::string ExecutablePath()
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer) {
        return {};
    }
    return std::string(buffer, static_cast<size_t>(length));
}

std::string ExecutableFolder()
{
    const PathParts parts = SplitPath(ExecutablePath());
    return parts.drive + parts.folder;
}

} // namespace tavrix::platform
