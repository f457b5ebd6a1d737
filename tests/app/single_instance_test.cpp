#include <QCoreApplication>
#include <QProcess>
#include <algorithm>
#include <cstring>
#include <future>

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/app_state.h"
#include "app/instance_messages.h"
#include "app/instance_server.h"
#include "app/single_instance.h"
#include "test_folders.h"
#include "ui_testing.h"

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
    testing::EnsureApplication();
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
class InstanceTest : public testing::UiTest {
protected:
    // Runs work on its own thread, as a second process would, while this thread serves the
    // window.
    template <typename Work> static auto Served(Work work)
    {
        auto result = std::async(std::launch::async, work);
        while (result.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return result.get();
    }

    static bool NotifyServed(pid_t pid, InstanceRequest request)
    {
        return Served([pid, request] { return NotifyInstanceWindows(pid, request); });
    }

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

// The instance socket as the program serves it: messages for the main window pass the check and
// reach the handler, which records them as the window would handle them.
class InstanceEndpoint {
public:
    InstanceEndpoint()
        : m_server([this](uint32_t message, uint32_t wParam, uint32_t lParam) {
              if (!IsInstanceMessage(message, lParam)) {
                  return false;
              }
              handled.push_back({message, wParam});
              return true;
          })
    {
    }

    InstanceServer& Server() { return m_server; }
    std::vector<std::pair<uint32_t, uint32_t>> handled;

private:
    InstanceServer m_server;
};

TEST_F(InstanceTest, ServerHandsOpenAndKillToTheWindow)
{
    InstanceEndpoint endpoint;
    ASSERT_TRUE(endpoint.Server().Listen());

    EXPECT_TRUE(NotifyServed(::getpid(), InstanceRequest::Open));
    EXPECT_FALSE(NotifyServed(::getpid() + 1, InstanceRequest::Kill)) << "another process's window";
    EXPECT_TRUE(NotifyServed(::getpid(), InstanceRequest::Kill));
    const std::vector<std::pair<uint32_t, uint32_t>> expected{{UM_OPEN, kOpenRequestTag}, {UM_KILL, kKillRequestTag}};
    EXPECT_EQ(endpoint.handled, expected);

    endpoint.Server().Close();
    EXPECT_FALSE(NotifyServed(::getpid(), InstanceRequest::Open)) << "no longer listening";
}

// Sends raw bytes to the instance socket; the reply word, or -1 when none came.
int64_t SendRaw(const std::string& bytes)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = InstanceSocketPath();
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    int64_t reply = -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size()) &&
        bytes.size() >= kInstanceRequestSize) {
        unsigned char word[4] = {};
        pollfd waiting{fd, POLLIN, 0};
        if (::poll(&waiting, 1, 10000) == 1 && ::recv(fd, word, sizeof word, MSG_WAITALL) == 4) {
            reply = word[0] | (word[1] << 8) | (word[2] << 16) | (static_cast<int64_t>(word[3]) << 24);
        }
    }
    ::close(fd);
    return reply;
}

TEST_F(InstanceTest, BrokenRequestsDoNotStopTheWindowAnswering)
{
    InstanceEndpoint endpoint;
    ASSERT_TRUE(endpoint.Server().Listen());
    const struct {
        std::string bytes;
        int64_t reply;
    } cases[] = {
        {std::string("\x50\x53\x00", 3), -1},
        {std::string(12, '\xFF'), 0},
        {std::string("\x50\x53\0\0\x4E\x45\x50\x4F\0\0\0\0", 12) + "trailing", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Served([&c] { return SendRaw(c.bytes); }), c.reply) << c.bytes.size() << " bytes";
    }
    EXPECT_TRUE(NotifyServed(::getpid(), InstanceRequest::Open));
}

TEST(InstanceMessageTest, OnlyOpenAndKillWithoutLParamReachTheWindow)
{
    const struct {
        uint32_t message;
        uint32_t lParam;
        bool passes;
    } cases[] = {
        {UM_OPEN, 0, true}, {UM_KILL, 0, true}, {UM_KILL, 1, false}, {UM_OPEN, 0x4F50454E, false}, {0x1234, 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsInstanceMessage(c.message, c.lParam), c.passes) << std::hex << c.message << " " << c.lParam;
    }
}

TEST_F(InstanceTest, CheckTakesTheLockAndSetsTheStartHiddenFlag)
{
    InstanceLock lock;
    SetStartHidden(true);
    EXPECT_EQ(CheckSingleInstance({}, "tavrix-test-instance", lock), StartDecision::Run);
    EXPECT_TRUE(lock.Held());
    EXPECT_FALSE(IsStartHidden());

    InstanceLock second;
    EXPECT_EQ(CheckSingleInstance({"/start"}, "tavrix-test-instance", second), StartDecision::Run)
        << "the lock's holder has another name";
    EXPECT_TRUE(second.Held()) << "joined";
    EXPECT_TRUE(IsStartHidden());

    InstanceLock third;
    EXPECT_EQ(CheckSingleInstance({"/Start", "/KILL"}, "tavrix-test-instance", third), StartDecision::Exit);
    EXPECT_FALSE(third.Held());
    SetStartHidden(false);
}

} // namespace
} // namespace tavrix::app
