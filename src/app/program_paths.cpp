#include "app/program_paths.h"

#include "platform/executable_path.h"
#include "platform/file_util.h"
#include "platform/folders.h"

namespace tavrix::app {

namespace {

// A skin file beside the executable and the folder that holds it, made by splitting the file's
// path and joining drive and folder again.
void SkinPaths(const std::string& base, const char* relative, std::string& file, std::string& folder)
{
    file = base + relative;
    const platform::PathParts parts = platform::SplitPath(file);
    folder = parts.drive + parts.folder;
}

} // namespace

ProgramPaths BuildProgramPaths(const std::string& exePath)
{
    const platform::PathParts parts = platform::SplitPath(exePath);
    ProgramPaths paths;
    paths.exeFileName = parts.name + parts.extension;
    paths.exeDrive = parts.drive;
    paths.exeFolder = parts.folder;
    const std::string base = parts.drive + parts.folder;
    paths.helpFolder = base + "Help/";
    SkinPaths(base, "Skins/Main.ini", paths.mainSkinFile, paths.mainSkinFolder);
    SkinPaths(base, "Skins/Profile.ini", paths.profileSkinFile, paths.profileSkinFolder);
    SkinPaths(base, "Skins/Composite.ini", paths.compositeSkinFile, paths.compositeSkinFolder);
    SkinPaths(base, "Skins/UpdateDlg.ini", paths.updateSkinFile, paths.updateSkinFolder);
    paths.packageFolder = base + "Package";
    paths.companionProgram = base + kCompanionFileName;
    return paths;
}

void BuildSettingsPath(ProgramPaths& paths)
{
    const std::string folder = platform::ProgramDataFolder();
    paths.settingsFile = folder + "/" + kSettingsFileName;
    (void)platform::MakeFolders(folder);
}

} // namespace tavrix::app
