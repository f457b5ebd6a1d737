#include "app/single_instance.h"

#include <gtest/gtest.h>

#include <future>
#include <unistd.h>

#include <QProcess>
#include <algorithm>

#include "app/app_state.h"
#include "app/startup_window.h"
#include "app_test_support.h"
#include "test_folders.h"

namespace tavrix::app {
namespace {

TEST(CommandLineTest, ArgumentsLeftToRight)
{
    const struct {
        std::vector<std::string> arguments;
        bool kill;
        bool startHidden;
    } cases[] = {
        {{}, false, false},
        {{"/Start"}, false, true},
        {{"/sTaRt", "other"}, false, true},
        {{"--start"}, false, true},
        {{"/Kill"}, true, false},
        {{"/KILL"}, true, false},
        {{"--kill"}, true, false},
        {{"/Start", "/kill"}, true, true},
        {{"/Kill", "/Start"}, true, false},
        {{"Kill", "-Start", "/Start2"}, false, false},
    };
    for (const auto& c : cases) {
        const CommandLine commandLine = ParseCommandLine(c.arguments);
        EXPECT_EQ(commandLine.kill, c.kill) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(commandLine.startHidden, c.startHidden) << ::testing::PrintToString(c.arguments);
    }
}

TEST(FindProcessTest, FindsOtherProcessesOfTheNameButNeverTheCaller)
{
    TestApplication();
    QProcess sleeper;
    sleeper.start("sleep", {"30"});
    ASSERT_TRUE(sleeper.waitForStarted(10000));
    const pid_t pid = static_cast<pid_t>(sleeper.processId());
    const std::vector<pid_t> found = FindProcessesByExeName("SLEEP");
    EXPECT_NE(std::find(found.begin(), found.end(), pid), found.end());
    const std::vector<pid_t> tests = FindProcessesByExeName("app_tests");
    EXPECT_EQ(std::find(tests.begin(), tests.end(), ::getpid()), tests.end());
    EXPECT_EQ(FindProcessByExeName("no-such-program-tavrix"), 0);
    sleeper.kill();
    sleeper.waitForFinished(10000);
}

// A private runtime folder, so the lock and socket are this test's own.
class InstanceTest : public ::testing::Test {
protected:
    // Runs the notification on its own thread while this thread serves the window, as a
    // second process would.
    bool NotifyServed(pid_t pid, InstanceRequest request)
    {
        auto result = std::async(std::launch::async, [pid, request] { return NotifyInstanceWindows(pid, request); });
        while (result.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return result.get();
    }

    QApplication& m_app = TestApplication();
    TempFolder m_runtime;
    ScopedEnv m_env{"XDG_RUNTIME_DIR", m_runtime.Path()};
};

TEST_F(InstanceTest, LockIsOwnedByOneHolderAndDroppedOnRelease)
{
    InstanceLock first;
    InstanceLock second;
    EXPECT_EQ(first.TryAcquire(), InstanceLock::Result::Owned);
    EXPECT_EQ(second.TryAcquire(), InstanceLock::Result::HeldElsewhere);
    first.Release();
    EXPECT_EQ(second.TryAcquire(), InstanceLock::Result::Owned);
}

TEST_F(InstanceTest, LockWithoutUsableRuntimeFolderIsUnavailable)
{
    ScopedEnv env("XDG_RUNTIME_DIR", "/proc/tavrix-no-such-folder");
    InstanceLock lock;
    EXPECT_EQ(lock.TryAcquire(), InstanceLock::Result::Unavailable);
}

TEST_F(InstanceTest, WindowAnswersOpenAndKill)
{
    int exits = 0;
    StartupWindow window([&exits] { ++exits; });
    ASSERT_TRUE(window.ListenForInstances());
    EXPECT_FALSE(window.isVisible());

    EXPECT_TRUE(NotifyServed(::getpid(), InstanceRequest::Open));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(exits, 0);

    EXPECT_FALSE(NotifyServed(::getpid() + 1, InstanceRequest::Kill)) << "another process's window";
    EXPECT_EQ(exits, 0);

    EXPECT_TRUE(NotifyServed(::getpid(), InstanceRequest::Kill));
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(NotifyServed(::getpid(), InstanceRequest::Open)) << "no longer listening";
}

TEST_F(InstanceTest, ForeignMessagesAreNotHandled)
{
    int exits = 0;
    StartupWindow window([&exits] { ++exits; });
    const struct {
        uint32_t message;
        uint32_t wParam;
        uint32_t lParam;
    } cases[] = {
        {0x5350, 0x4C4C494B, 0}, {0x4D4B, 0x4F50454E, 0}, {0x4D4B, 0x4C4C494B, 1}, {0x1234, 0x4F50454E, 0},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(window.HandleInstanceMessage(c.message, c.wParam, c.lParam));
    }
    EXPECT_EQ(exits, 0);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(InstanceTest, CheckTakesTheLockAndSetsTheStartHiddenFlag)
{
    InstanceLock lock;
    SetStartHidden(true);
    EXPECT_EQ(CheckSingleInstance({}, "tavrix-test-instance", lock), StartDecision::Run);
    EXPECT_TRUE(lock.Owned());
    EXPECT_FALSE(IsStartHidden());

    InstanceLock second;
    EXPECT_EQ(CheckSingleInstance({"/start"}, "tavrix-test-instance", second), StartDecision::Run)
        << "the lock's holder has another name";
    EXPECT_FALSE(second.Owned());
    EXPECT_TRUE(IsStartHidden());

    InstanceLock third;
    EXPECT_EQ(CheckSingleInstance({"/Start", "/KILL"}, "tavrix-test-instance", third), StartDecision::Exit);
    EXPECT_FALSE(third.Owned());
    SetStartHidden(false);
}

}  // namespace
}  // namespace tavrix::app
