#include <QDesktopServices>
#include <QObject>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/clock.h"
#include "platform/shell_open.h"
#include "test_folders.h"

namespace tavrix::platform {
namespace {

namespace fs = std::filesystem;

TEST(ShellOpenTest, ReplacedHandlerSeesTheRequest)
{
    std::vector<ShellRequest> seen;
    SetShellOpenHandler([&seen](const ShellRequest& request) {
        seen.push_back(request);
        return false;
    });
    EXPECT_FALSE(ShellOpen(ShellRequest{"/opt/kb/sentrel", "", ShowMode::Hidden}));
    SetShellOpenHandler({});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].target, "/opt/kb/sentrel");
    EXPECT_EQ(seen[0].show, ShowMode::Hidden);
}

TEST(ShellOpenTest, MissingProgramIsNotStarted)
{
    EXPECT_FALSE(ShellOpen(ShellRequest{"/nonexistent/tavrix-companion", "", ShowMode::Hidden}));
}

TEST(ShellOpenTest, UrlSchemes)
{
    const struct {
        const char* target;
        bool scheme;
    } cases[] = {
        {"https://tavrix.example/community", true},
        {"https:/tavrix.example/community", true},
        {"mailto:help@tavrix.example", true},
        {"svn+ssh.x-y:z", true},
        {"/opt/kb/Help/index.html", false},
        {"Help/index.html", false},
        {"Help/odd:name", false},
        {"1http://x", false},
        {":x", false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HasUrlScheme(c.target), c.scheme) << c.target;
    }
}

// Takes the web addresses the desktop would have opened.
class UrlCatcher : public QObject {
    Q_OBJECT

public:
    std::vector<QUrl> urls;

public slots:
    void Open(const QUrl& url) { urls.push_back(url); }
};

// Writes a program at path that leaves a file named marker beside path when it runs.
void PlantProgram(const fs::path& path, const fs::path& marker)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "#!/bin/sh\ntouch '" << marker.string() << "'\n";
    fs::permissions(path, fs::perms::owner_all);
}

bool AppearsSoon(const fs::path& marker)
{
    for (int i = 0; i < 100 && !fs::exists(marker); ++i) {
        SleepMs(20);
    }
    return fs::exists(marker);
}

// Started in a folder someone filled with programs named like the program's links: a link is
// opened as the address it is, and only an absolute path is taken for a file.
TEST(ShellOpenTest, PlantedProgramsInTheWorkingFolderNeverRun)
{
    TempFolder folder;
    const fs::path before = fs::current_path();
    fs::current_path(folder.Path());
    PlantProgram(folder / "https:/tavrix.example/community", folder / "ran-link");
    PlantProgram(folder / "Help/index.html", folder / "ran-help");
    PlantProgram(folder / "own/sentrel", folder / "ran-own");
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "Open");

    EXPECT_TRUE(ShellOpen({folder / "own/sentrel", {}, ShowMode::Hidden}));
    EXPECT_TRUE(AppearsSoon(folder / "ran-own")) << "an absolute path is run";
    EXPECT_TRUE(ShellOpen({"https://tavrix.example/community", {}, ShowMode::Normal}));
    EXPECT_FALSE(ShellOpen({"Help/index.html", {}, ShowMode::Normal}));

    QDesktopServices::unsetUrlHandler("https");
    fs::current_path(before);
    ASSERT_EQ(catcher.urls.size(), 1u);
    EXPECT_EQ(catcher.urls[0], QUrl("https://tavrix.example/community"));
    SleepMs(200);
    EXPECT_FALSE(fs::exists(folder / "ran-link"));
    EXPECT_FALSE(fs::exists(folder / "ran-help"));
}

TEST(ShellOpenTest, ProgramRunsInTheFolderAskedFor)
{
    TempFolder folder;
    const fs::path program = folder / "tools/updater";
    fs::create_directories(program.parent_path());
    std::ofstream(program) << "#!/bin/sh\npwd -P > ran.tmp && mv ran.tmp ran\n";
    fs::permissions(program, fs::perms::owner_all);
    ASSERT_NE(fs::current_path(), program.parent_path());
    EXPECT_TRUE(ShellOpen({program, {}, ShowMode::Normal, program.parent_path()}));
    ASSERT_TRUE(AppearsSoon(program.parent_path() / "ran"));
    std::ifstream ran(program.parent_path() / "ran");
    std::string ranIn;
    std::getline(ran, ranIn);
    EXPECT_EQ(ranIn, fs::canonical(program.parent_path()).string());
}

} // namespace
} // namespace tavrix::platform

#include "shell_open_test.moc"
