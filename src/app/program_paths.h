#pragma once

#include <string>

namespace tavrix::app {

// Every path the program uses, built once at start from the executable's own path. Folders end
// with a slash; the drive is always empty on Linux.
struct ProgramPaths {
    std::string exeFileName; // file name and extension, no folder
    std::string exeDrive;
    std::string exeFolder;
    std::string helpFolder;
    std::string mainSkinFile;
    std::string mainSkinFolder;
    std::string profileSkinFile;
    std::string profileSkinFolder;
    std::string compositeSkinFile;
    std::string compositeSkinFolder;
    std::string updateSkinFile;
    std::string updateSkinFolder;
    std::string packageFolder;
    std::string companionProgram;
    std::string settingsFile; // empty until BuildSettingsPath
};

inline constexpr const char* kCompanionFileName = "sentrel";
inline constexpr const char* kSettingsFileName = "wskb.ini";

// The paths (except the settings file) for an executable at exePath.
ProgramPaths BuildProgramPaths(const std::string& exePath);

// Sets settingsFile to wskb.ini in the program's data folder and creates that folder when it
// does not exist (a failure shows later as a settings file that cannot be written).
void BuildSettingsPath(ProgramPaths& paths);

} // namespace tavrix::app
