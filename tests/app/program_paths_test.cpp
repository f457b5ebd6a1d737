#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/app_state.h"
#include "app/program_paths.h"
#include "test_folders.h"

namespace tavrix::app {
namespace {

TEST(ProgramPathsTest, EveryPathBesideTheExecutable)
{
    const ProgramPaths paths = BuildProgramPaths("/opt/Tools/Kb/tavrix");
    const struct {
        const std::string& actual;
        const char* expected;
    } cases[] = {
        {paths.exeFileName, "tavrix"},
        {paths.exeDrive, ""},
        {paths.exeFolder, "/opt/Tools/Kb/"},
        {paths.helpFolder, "/opt/Tools/Kb/Help/"},
        {paths.mainSkinFile, "/opt/Tools/Kb/Skins/Main.ini"},
        {paths.mainSkinFolder, "/opt/Tools/Kb/Skins/"},
        {paths.profileSkinFile, "/opt/Tools/Kb/Skins/Profile.ini"},
        {paths.profileSkinFolder, "/opt/Tools/Kb/Skins/"},
        {paths.compositeSkinFile, "/opt/Tools/Kb/Skins/Composite.ini"},
        {paths.compositeSkinFolder, "/opt/Tools/Kb/Skins/"},
        {paths.updateSkinFile, "/opt/Tools/Kb/Skins/UpdateDlg.ini"},
        {paths.updateSkinFolder, "/opt/Tools/Kb/Skins/"},
        {paths.packageFolder, "/opt/Tools/Kb/Package"},
        {paths.companionProgram, "/opt/Tools/Kb/sentrel"},
        {paths.settingsFile, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.actual, c.expected);
    }
    EXPECT_EQ(BuildProgramPaths("/x/Tavrix.bin").exeFileName, "Tavrix.bin");
}

TEST(ProgramPathsTest, SettingsFileInTheDataFolderWhichIsCreated)
{
    TempFolder data;
    ScopedEnv env("XDG_DATA_HOME", data.Path());
    SetProgramPaths(BuildProgramPaths("/opt/kb/tavrix"));
    BuildSettingsPath();
    EXPECT_EQ(GetProgramPaths().settingsFile, data.Path() + "/PL3094V/wskb.ini");
    struct stat info {};
    EXPECT_EQ(::stat((data.Path() + "/PL3094V").c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
}

} // namespace
} // namespace tavrix::app
