#include "platform/folders.h"

#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

namespace tavrix::platform {

namespace {

// An environment value that names an absolute folder; relative ones are ignored, as the XDG
// rules ask.
std::string AbsoluteFromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return {};
    }
    std::string folder = value;
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

} // namespace

std::string HomeFolder()
{
    std::string home = AbsoluteFromEnvironment("HOME");
    if (!home.empty()) {
        return home;
    }
    const passwd* entry = ::getpwuid(::getuid());
    return (entry != nullptr && entry->pw_dir != nullptr) ? entry->pw_dir : "/tmp";
}

std::string LocalAppDataFolder()
{
    const std::string folder = AbsoluteFromEnvironment("XDG_DATA_HOME");
    return folder.empty() ? HomeFolder() + "/.local/share" : folder;
}

std::string ConfigFolder()
{
    const std::string folder = AbsoluteFromEnvironment("XDG_CONFIG_HOME");
    return folder.empty() ? HomeFolder() + "/.config" : folder;
}

std::string ProgramDataFolder()
{
    return LocalAppDataFolder() + "/" + kProgramFolderName;
}

std::string RuntimeFolder()
{
    const std::string folder = AbsoluteFromEnvironment("XDG_RUNTIME_DIR");
    return folder.empty() ? "/tmp/tavrix-" + std::to_string(::getuid()) : folder;
}

} // namespace tavrix::platform
