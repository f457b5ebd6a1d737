#pragma once

#include <string>

// Where per-user files live. Each function reads the environment anew and returns the folder
// without a trailing slash; none of them creates anything.
namespace tavrix::platform {

// $HOME, or the password database's home folder when HOME is unset.
std::string HomeFolder();

// The local application-data folder: $XDG_DATA_HOME, default ~/.local/share.
std::string LocalAppDataFolder();

// $XDG_CONFIG_HOME, default ~/.config.
std::string ConfigFolder();

// $XDG_RUNTIME_DIR (private to the user's logon), default /tmp/tavrix-<uid>. Anybody could have
// made the default first: check it with EnsurePrivateFolder before use.
std::string RuntimeFolder();

// The name of the program's own folder inside the data and configuration folders.
inline constexpr const char* kProgramFolderName = "PL3094V";

// The program's folder in the local application-data folder.
std::string ProgramDataFolder();

} // namespace tavrix::platform
