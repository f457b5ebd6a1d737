#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/app_state.h"
#include "app/instance_messages.h"
#include "app/instance_server.h"
#include "app/single_instance.h"
#include "hostile_files.h"
#include "platform/clock.h"
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
        bool update;
    } cases[] = {
        {{}, false, false, false},
        {{"/Start"}, false, true, false},
        {{"/sTaRt", "other"}, false, true, false},
        {{"--start"}, false, true, false},
        {{"/Kill"}, true, false, false},
        {{"/KILL"}, true, false, false},
        {{"--kill"}, true, false, false},
        {{"/Start", "/kill"}, true, true, false},
        {{"/Kill", "/Start"}, true, false, false},
        {{"Kill", "-Start", "/Start2"}, false, false, false},
        {{"/Update"}, false, false, true},
        {{"/uPDATE", "/start"}, false, true, true},
        {{"--UPDATE"}, false, false, true},
        {{"/Kill", "/Update"}, true, false, false},
        {{"Update", "/Updates", "-update"}, false, false, false},
    };
    for (const auto& c : cases) {
        const CommandLine commandLine = ParseCommandLine(c.arguments);
        EXPECT_EQ(commandLine.kill, c.kill) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(commandLine.startHidden, c.startHidden) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(commandLine.update, c.update) << ::testing::PrintToString(c.arguments);
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
              if (!IsInstanceMessage(message, wParam, lParam)) {
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

TEST_F(InstanceTest, ServerHandsOpenKillAndUpdateToTheWindow)
{
    InstanceEndpoint endpoint;
    ASSERT_TRUE(endpoint.Server().Listen());

    EXPECT_TRUE(NotifyServed(::getpid(), InstanceRequest::Open));
    EXPECT_FALSE(NotifyServed(::getpid() + 1, InstanceRequest::Kill)) << "another process's window";
    EXPECT_TRUE(NotifyServed(::getpid(), InstanceRequest::Kill));
    EXPECT_TRUE(NotifyServed(::getpid(), InstanceRequest::Update));
    const std::vector<std::pair<uint32_t, uint32_t>> expected{
        {UM_OPEN, kOpenRequestTag}, {UM_KILL, kKillRequestTag}, {controls::WM_COMMAND, kUpdateCommand}};
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

TEST(InstanceMessageTest, OnlyOpenKillAndTheUpdateCommandWithoutLParamReachTheWindow)
{
    const struct {
        uint32_t message;
        uint32_t wParam;
        uint32_t lParam;
        bool passes;
    } cases[] = {
        {UM_OPEN, kOpenRequestTag, 0, true},
        {UM_KILL, kKillRequestTag, 0, true},
        {UM_KILL, kKillRequestTag, 1, false},
        {UM_OPEN, 0, 0x4F50454E, false},
        {0x1234, 0, 0, false},
        {controls::WM_COMMAND, kUpdateCommand, 0, true},
        {controls::WM_COMMAND, kUpdateCommand, 1, false},
        // Every other command stays inside the program: exit, import, the buttons.
        {controls::WM_COMMAND, 32774, 0, false},
        {controls::WM_COMMAND, 32776, 0, false},
        {controls::WM_COMMAND, 1006, 0, false},
        {controls::WM_COMMAND, kUpdateCommand | 0x10000, 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsInstanceMessage(c.message, c.wParam, c.lParam), c.passes)
            << std::hex << c.message << " " << c.wParam << " " << c.lParam;
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

TEST_F(InstanceTest, LockIsNeverTakenThroughALinkOrFromWhatIsNoPlainFile)
{
    const std::string victim = m_runtime / "chosen-by-someone-else";
    const struct {
        const char* name;
        std::function<void(const std::string&)> plant;
    } cases[] = {
        {"dangling link", [&victim](const std::string& path) { ::symlink(victim.c_str(), path.c_str()); }},
        {"folder", [](const std::string& path) { ::mkdir(path.c_str(), 0700); }},
        {"fifo", [](const std::string& path) { ::mkfifo(path.c_str(), 0600); }},
        {"unreadable", [](const std::string& path) { ::close(::open(path.c_str(), O_CREAT | O_WRONLY, 0)); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(InstanceLockPath());
        c.plant(InstanceLockPath());
        const std::string before = Fingerprint(InstanceLockPath());
        InstanceLock lock;
        {
            NoFileOverride asAnyUser;
            EXPECT_EQ(lock.TryAcquire(), InstanceLock::Result::Unavailable);
        }
        EXPECT_EQ(Fingerprint(InstanceLockPath()), before);
        EXPECT_FALSE(std::filesystem::exists(victim));
    }
}

TEST_F(InstanceTest, RuntimeFolderOpenToOthersIsNotUsed)
{
    const std::string open = m_runtime / "open";
    ::mkdir(open.c_str(), 0777);
    ::chmod(open.c_str(), 0777);
    ScopedEnv env("XDG_RUNTIME_DIR", open);
    InstanceLock lock;
    EXPECT_EQ(lock.TryAcquire(), InstanceLock::Result::Unavailable);
    EXPECT_FALSE(std::filesystem::exists(InstanceLockPath()));
}

// A program of its own name that runs for a while: a stand-in for another instance.
class Stranger {
public:
    explicit Stranger(const TempFolder& folder) : m_name("tavrix-stranger-" + std::to_string(::getpid()))
    {
        const QString program = QString::fromStdString(folder / m_name);
        EXPECT_TRUE(QFile::copy("/bin/sleep", program));
        m_process.start(program, {"30"});
        EXPECT_TRUE(m_process.waitForStarted(10000));
    }
    ~Stranger()
    {
        m_process.kill();
        m_process.waitForFinished(10000);
    }

    const std::string& Name() const { return m_name; }
    QProcess& Process() { return m_process; }

private:
    std::string m_name;
    QProcess m_process;
};

TEST_F(InstanceTest, WithoutAUsableLockAProcessOfTheNameStillCountsAsTheInstance)
{
    ASSERT_EQ(::mkdir(InstanceLockPath().c_str(), 0700), 0);
    Stranger running(m_runtime);
    InstanceLock lock;
    EXPECT_EQ(CheckSingleInstance({}, running.Name(), lock), StartDecision::Exit);
    EXPECT_EQ(CheckSingleInstance({}, running.Name() + "-other", lock), StartDecision::Run);
    EXPECT_FALSE(lock.Held());
}

TEST_F(InstanceTest, KillEndsAnInstanceThatDoesNotAnswer)
{
    Stranger running(m_runtime);
    InstanceLock lock;
    EXPECT_EQ(CheckSingleInstance({"/kill"}, running.Name(), lock), StartDecision::Exit);
    EXPECT_TRUE(running.Process().waitForFinished(10000));
}

TEST_F(InstanceTest, SocketThatAnswersIsNeverReplaced)
{
    InstanceEndpoint first;
    ASSERT_TRUE(first.Server().Listen());
    {
        InstanceEndpoint second;
        EXPECT_FALSE(second.Server().Listen());
        EXPECT_TRUE(NotifyServed(::getpid(), InstanceRequest::Open));
        EXPECT_EQ(second.handled.size(), 0u);
    }
    EXPECT_TRUE(NotifyServed(::getpid(), InstanceRequest::Open)) << "the second server's end left the socket";
    EXPECT_EQ(first.handled.size(), 2u);
}

// Waits, serving the window, until the condition holds.
template <typename Condition> bool ServedUntil(Condition condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return condition();
}

TEST_F(InstanceTest, WhatBlocksTheSocketIsLeftAndListeningResumesOnceItIsGone)
{
    platform::SetTimeScale(0.05);
    ASSERT_EQ(::mkdir(InstanceSocketPath().c_str(), 0700), 0);
    InstanceEndpoint endpoint;
    EXPECT_FALSE(endpoint.Server().Listen());
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    EXPECT_TRUE(std::filesystem::is_directory(InstanceSocketPath()));
    ASSERT_EQ(::rmdir(InstanceSocketPath().c_str()), 0);
    EXPECT_TRUE(ServedUntil([&endpoint] { return endpoint.Server().IsListening(); }));
    EXPECT_TRUE(NotifyServed(::getpid(), InstanceRequest::Open));
    platform::SetTimeScale(1);
}

// Connects to the instance socket and sends bytes; the connection stays open.
int ConnectAndSend(const std::string& bytes)
{
    const int fd = ConnectInstanceSocket();
    if (fd >= 0 && !bytes.empty()) {
        (void)::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    }
    return fd;
}

// True when the server has closed the connection.
bool ClosedByServer(int fd)
{
    char byte = 0;
    return ::recv(fd, &byte, 1, MSG_DONTWAIT) == 0;
}

TEST_F(InstanceTest, SilentClientsAreDroppedAndCannotCrowdOutTheNextStart)
{
    platform::SetTimeScale(0.05);
    InstanceEndpoint endpoint;
    ASSERT_TRUE(endpoint.Server().Listen());
    std::vector<int> idle;
    for (size_t i = 0; i < 2 * kMaxInstanceConnections; ++i) {
        idle.push_back(ConnectAndSend(i % 2 == 0 ? std::string("\x50\x53\0\0\x4E", 5) : std::string()));
        ASSERT_GE(idle.back(), 0);
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_LE(endpoint.Server().OpenConnections(), kMaxInstanceConnections);

    EXPECT_TRUE(ServedUntil([&idle] { return std::all_of(idle.begin(), idle.end(), ClosedByServer); }));
    EXPECT_TRUE(NotifyServed(::getpid(), InstanceRequest::Open));
    EXPECT_EQ(endpoint.handled.size(), 1u) << "no half request was taken for one";
    for (const int fd : idle) {
        ::close(fd);
    }
    platform::SetTimeScale(1);
}

TEST_F(InstanceTest, FullQueueDoesNotHoldUpTheNextStart)
{
    platform::SetTimeScale(0.05);
    InstanceEndpoint endpoint;
    ASSERT_TRUE(endpoint.Server().Listen());
    // Nobody serves the window meanwhile: the queue fills, and the next client finds it full.
    std::vector<int> queued;
    for (int i = 0; i < 64; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, InstanceSocketPath().c_str(), sizeof address.sun_path - 1);
        queued.push_back(fd);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            break;
        }
    }
    EXPECT_FALSE(NotifyInstanceWindows(::getpid(), InstanceRequest::Open));
    for (const int fd : queued) {
        ::close(fd);
    }
    platform::SetTimeScale(1);
}

TEST_F(InstanceTest, ServerOutlivesAcceptFailures)
{
    platform::SetTimeScale(0.05);
    const int cases[] = {EMFILE, ENFILE, ENOMEM, ECONNABORTED, EINVAL, EBADF};
    for (const int error : cases) {
        SCOPED_TRACE(std::strerror(error));
        int failures = 2;
        InstanceServer server([](uint32_t, uint32_t, uint32_t) { return true; },
                              [&failures, error](int listenFd) {
                                  if (failures > 0) {
                                      --failures;
                                      errno = error;
                                      return -1;
                                  }
                                  return ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
                              });
        ASSERT_TRUE(server.Listen());
        // The first tries may meet the failures (a broken socket drops its waiting clients).
        EXPECT_TRUE(ServedUntil([] { return NotifyServed(::getpid(), InstanceRequest::Open); }));
        EXPECT_EQ(failures, 0);
        EXPECT_TRUE(server.IsListening());
        EXPECT_TRUE(std::filesystem::exists(InstanceSocketPath()));
    }
    platform::SetTimeScale(1);
}

// Sends a command-line request's bytes and reads the whole reply; its header when it is one.
std::optional<CtlReplyHeader> SendCtl(const std::string& bytes)
{
    const int fd = ConnectAndSend(bytes);
    std::vector<uint8_t> reply;
    uint8_t buffer[4096];
    pollfd waiting{fd, POLLIN, 0};
    while (fd >= 0 && ::poll(&waiting, 1, 10000) == 1) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0) {
            break;
        }
        reply.insert(reply.end(), buffer, buffer + got);
    }
    ::close(fd);
    return DecodeCtlReplyHeader(reply);
}

std::string CtlHeader(uint32_t version, uint32_t bodySize)
{
    const auto header = EncodeInstanceRequest({kCtlRequestMessage, version, bodySize});
    return std::string(header.begin(), header.end());
}

TEST_F(InstanceTest, CommandLineRequestsAreCheckedBeforeTheirBodyIsRead)
{
    InstanceEndpoint endpoint;
    std::vector<std::vector<uint8_t>> bodies;
    ASSERT_TRUE(endpoint.Server().Listen());
    const auto send = [](const std::string& bytes) { return Served([&bytes] { return SendCtl(bytes); }); };

    const std::optional<CtlReplyHeader> unserved = send(CtlHeader(kCtlProtocolVersion, 1) + "x");
    ASSERT_TRUE(unserved);
    EXPECT_EQ(unserved->status, CtlStatus::Failed) << "no handler for them";

    endpoint.Server().SetCtlHandler([&bodies](std::span<const uint8_t> body) {
        bodies.emplace_back(body.begin(), body.end());
        return CtlReply{CtlStatus::Done, "ok", {7, 8, 9}};
    });
    const std::optional<CtlReplyHeader> served = send(CtlHeader(kCtlProtocolVersion, 3) + "abc");
    ASSERT_TRUE(served);
    EXPECT_EQ(served->status, CtlStatus::Done);
    EXPECT_EQ(served->textSize, 2u);
    EXPECT_EQ(served->payloadSize, 3u);
    for (const std::string& refused :
         {CtlHeader(kCtlProtocolVersion + 1, 3) + "abc", CtlHeader(kCtlProtocolVersion, kMaxCtlBodySize + 1)}) {
        const std::optional<CtlReplyHeader> reply = send(refused);
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->status, CtlStatus::Failed);
    }
    ASSERT_EQ(bodies.size(), 1u) << "only the whole request of this version was handed on";
    EXPECT_EQ(bodies[0], (std::vector<uint8_t>{'a', 'b', 'c'}));

    platform::SetTimeScale(0.05);
    const int stalled = ConnectAndSend(CtlHeader(kCtlProtocolVersion, 10) + "abc");
    EXPECT_TRUE(ServedUntil([stalled] { return ClosedByServer(stalled); })) << "a body that never ends is dropped";
    ::close(stalled);
    platform::SetTimeScale(1);
    EXPECT_EQ(bodies.size(), 1u);
    EXPECT_TRUE(NotifyServed(::getpid(), InstanceRequest::Open));
}

} // namespace
} // namespace tavrix::app
