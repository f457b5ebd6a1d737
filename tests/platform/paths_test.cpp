#include <gtest/gtest.h>

#include "platform/executable_path.h"
#include "platform/file_util.h"
#include "platform/folders.h"
#include "test_folders.h"

namespace tavrix::platform {
namespace {

TEST(PathsTest, SplitPath)
{
    const struct {
        const char* path;
        const char* folder;
        const char* name;
        const char* extension;
    } cases[] = {
        {"/opt/tavrix/tavrix", "/opt/tavrix/", "tavrix", ""},
        {"/opt/kb/Skins/Main.ini", "/opt/kb/Skins/", "Main", ".ini"},
        {"/a.b/c", "/a.b/", "c", ""},
        {"/x/.hidden", "/x/", ".hidden", ""},
        {"name.tar.gz", "", "name.tar", ".gz"},
    };
    for (const auto& c : cases) {
        const PathParts parts = SplitPath(c.path);
        EXPECT_EQ(parts.drive, "") << c.path;
        EXPECT_EQ(parts.folder, c.folder) << c.path;
        EXPECT_EQ(parts.name, c.name) << c.path;
        EXPECT_EQ(parts.extension, c.extension) << c.path;
    }
}

TEST(PathsTest, ExecutableIsThisTestBinary)
{
    const PathParts parts = SplitPath(ExecutablePath());
    EXPECT_EQ(parts.name, "platform_tests");
    EXPECT_EQ(ExecutableFolder(), parts.folder);
    EXPECT_EQ(ExecutableFolder().back(), '/');
}

TEST(PathsTest, XdgFoldersAndDefaults)
{
    ScopedEnv home("HOME", "/home/someone");
    {
        ScopedEnv data("XDG_DATA_HOME", std::nullopt);
        ScopedEnv config("XDG_CONFIG_HOME", "relative/ignored");
        EXPECT_EQ(LocalAppDataFolder(), "/home/someone/.local/share");
        EXPECT_EQ(ConfigFolder(), "/home/someone/.config");
    }
    ScopedEnv data("XDG_DATA_HOME", "/data/");
    ScopedEnv runtime("XDG_RUNTIME_DIR", "/run/user/1234");
    EXPECT_EQ(LocalAppDataFolder(), "/data");
    EXPECT_EQ(RuntimeFolder(), "/run/user/1234");
}

TEST(PathsTest, MakeFoldersCreatesParents)
{
    TempFolder temp;
    EXPECT_TRUE(MakeFolders(temp / "a/b/c"));
    EXPECT_TRUE(MakeFolders(temp / "a/b/c"));
    EXPECT_TRUE(WriteFileAtomically(temp / "a/b/c/f.txt", "x"));
    EXPECT_FALSE(MakeFolders(temp / "a/b/c/f.txt/d"));
}

} // namespace
} // namespace tavrix::platform
