#include "app/single_instance.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/app_state.h"
#include "app/instance_messages.h"
#include "platform/clock.h"
#include "platform/file_util.h"
#include "platform/folders.h"
#include "platform/utf.h"

namespace tavrix::app {

namespace {

constexpr std::string_view kDeletedSuffix = " (deleted)";

struct Candidate {
    pid_t pid;
    unsigned long long startTime;
};

// The file name of the process's executable, or empty when it cannot be read (another user's
// process, a kernel thread, a process that just ended).
std::string ExeFileName(const std::string& procEntry)
{
    char target[4096];
    const ssize_t length = ::readlink((procEntry + "/exe").c_str(), target, sizeof target - 1);
    if (length <= 0) {
        return {};
    }
    std::string path(target, static_cast<size_t>(length));
    if (path.ends_with(kDeletedSuffix)) {
        path.resize(path.size() - kDeletedSuffix.size());
    }
    return path.substr(path.rfind('/') + 1);
}

// Field 22 of /proc/<pid>/stat, the start time in clock ticks since boot; 0 when unreadable.
unsigned long long StartTime(const std::string& procEntry)
{
    // One line of numbers and a 16-character name.
    constexpr uint64_t kMaxStatSize = 4096;
    std::string stat;
    if (platform::ReadWholeFile(procEntry + "/stat", kMaxStatSize, stat) != platform::ReadResult::Ok) {
        return 0;
    }
    size_t pos = stat.rfind(')');
    for (int field = 2; field < 22 && pos != std::string::npos; ++field) {
        pos = stat.find(' ', pos + 1);
    }
    return pos == std::string::npos ? 0 : std::strtoull(stat.c_str() + pos + 1, nullptr, 10);
}

pid_t PeerProcess(int fd)
{
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) {
        return 0;
    }
    return credentials.pid;
}

} // namespace

bool SendAll(int fd, const unsigned char* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t sent = ::send(fd, data + done, size - done, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        done += static_cast<size_t>(sent);
    }
    return true;
}

bool ReceiveAll(int fd, unsigned char* data, size_t size, std::chrono::steady_clock::time_point deadline)
{
    size_t done = 0;
    while (done < size) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd waiting{fd, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return false;
        }
        const ssize_t got = ::recv(fd, data + done, size - done, 0);
        if (got <= 0) {
            return false;
        }
        done += static_cast<size_t>(got);
    }
    return true;
}

namespace {

InstanceRequestFrame FrameOf(InstanceRequest request)
{
    switch (request) {
    case InstanceRequest::Kill:
        return {UM_KILL, kKillRequestTag, 0};
    case InstanceRequest::Update:
        return {controls::WM_COMMAND, kUpdateCommand, 0};
    case InstanceRequest::Open:
        break;
    }
    return {UM_OPEN, kOpenRequestTag, 0};
}

bool NotifyAny(const std::vector<pid_t>& processes, InstanceRequest request)
{
    return std::any_of(processes.begin(), processes.end(),
                       [request](pid_t pid) { return NotifyInstanceWindows(pid, request); });
}

} // namespace

int ConnectInstanceSocket()
{
    const std::string path = InstanceSocketPath();
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) {
        return -1;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    // While the instance's queue is full, connect waits: no longer than an answer may take.
    const auto limit = platform::ScaledDuration(kNotifyTimeoutMs).count();
    const timeval timeout{static_cast<time_t>(limit / 1000000), static_cast<suseconds_t>(limit % 1000000)};
    (void)::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::string InstanceLockPath()
{
    return platform::RuntimeFolder() + "/" + kInstanceMutexName + ".lock";
}

std::string InstanceSocketPath()
{
    return platform::RuntimeFolder() + "/" + kInstanceMutexName;
}

InstanceLock::~InstanceLock()
{
    Release();
}

int InstanceLock::OpenLockFile()
{
    if (!platform::EnsurePrivateFolder(platform::RuntimeFolder())) {
        return -1;
    }
    // Never through a link, which would make us create or lock a file someone else chose.
    const int fd = ::open(InstanceLockPath().c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

InstanceLock::Result InstanceLock::TryAcquire()
{
    Release();
    const int fd = OpenLockFile();
    if (fd < 0) {
        return Result::Unavailable;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? Result::HeldElsewhere : Result::Unavailable;
    }
    // Shared from now on, so an instance that joins keeps the lock alive after this one ends.
    ::flock(fd, LOCK_SH);
    m_fd = fd;
    return Result::Owned;
}

bool InstanceLock::Join()
{
    Release();
    const int fd = OpenLockFile();
    if (fd < 0 || ::flock(fd, LOCK_SH | LOCK_NB) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        return false;
    }
    m_fd = fd;
    return true;
}

void InstanceLock::Release()
{
    if (m_fd < 0) {
        return;
    }
    ::close(m_fd);
    m_fd = -1;
}

std::vector<pid_t> FindProcessesByExeName(const std::string& exeFileName)
{
    std::vector<Candidate> found;
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) {
        return {};
    }
    const pid_t self = ::getpid();
    const uid_t user = ::getuid();
    while (const dirent* entry = ::readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0' || pid == self) {
            continue;
        }
        const std::string procEntry = std::string("/proc/") + entry->d_name;
        struct stat info {};
        if (::stat(procEntry.c_str(), &info) != 0 || info.st_uid != user) {
            continue;
        }
        if (platform::EqualsNoCase(ExeFileName(procEntry), exeFileName)) {
            found.push_back(Candidate{static_cast<pid_t>(pid), StartTime(procEntry)});
        }
    }
    ::closedir(proc);
    std::sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
        return a.startTime != b.startTime ? a.startTime < b.startTime : a.pid < b.pid;
    });
    std::vector<pid_t> pids;
    for (const Candidate& candidate : found) {
        pids.push_back(candidate.pid);
    }
    return pids;
}

pid_t FindProcessByExeName(const std::string& exeFileName)
{
    const std::vector<pid_t> pids = FindProcessesByExeName(exeFileName);
    return pids.empty() ? 0 : pids.front();
}

bool NotifyInstanceWindows(pid_t processId, InstanceRequest request)
{
    const int fd = ConnectInstanceSocket();
    if (fd < 0) {
        return false;
    }
    if (PeerProcess(fd) != processId) {
        ::close(fd);
        return false;
    }
    const auto message = EncodeInstanceRequest(FrameOf(request));
    unsigned char reply[kInstanceReplySize] = {};
    const auto deadline = std::chrono::steady_clock::now() + platform::ScaledDuration(kNotifyTimeoutMs);
    const bool answered = SendAll(fd, message.data(), message.size()) &&
                          ReceiveAll(fd, reply, sizeof reply, deadline) && DecodeInstanceReply(reply);
    ::close(fd);
    return answered;
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine commandLine;
    for (const std::string& argument : arguments) {
        if (platform::EqualsNoCase(argument, "/Kill") || platform::EqualsNoCase(argument, "--kill")) {
            commandLine.kill = true;
            return commandLine;
        }
        if (platform::EqualsNoCase(argument, "/Start") || platform::EqualsNoCase(argument, "--start")) {
            commandLine.startHidden = true;
        }
        if (platform::EqualsNoCase(argument, "/Update") || platform::EqualsNoCase(argument, "--update")) {
            commandLine.update = true;
        }
    }
    return commandLine;
}

StartDecision CheckSingleInstance(const std::vector<std::string>& arguments, const std::string& exeFileName,
                                  InstanceLock& lock)
{
    const CommandLine commandLine = ParseCommandLine(arguments);
    SetStartHidden(commandLine.startHidden);
    if (commandLine.kill) {
        // Ends this process whether or not an instance ran: "/Kill" never starts the program.
        const std::vector<pid_t> running = FindProcessesByExeName(exeFileName);
        if (!running.empty() && !NotifyAny(running, InstanceRequest::Kill)) {
            // Its socket is gone or blocked: the system ends it instead, which leaves nothing
            // behind that the next start cannot clear.
            (void)::kill(running.front(), SIGTERM);
        }
        return StartDecision::Exit;
    }
    const InstanceLock::Result taken = lock.TryAcquire();
    if (taken == InstanceLock::Result::Owned) {
        return StartDecision::Run;
    }
    // Held by someone, or no lock can be had at all: the process list tells whether an instance
    // of ours runs.
    const std::vector<pid_t> running = FindProcessesByExeName(exeFileName);
    if (running.empty()) {
        // The lock belongs to a program of another name: run as the first instance, holding the
        // lock too so later starts still find it. Without a usable lock, run all the same: later
        // starts still find this process by its name.
        if (taken == InstanceLock::Result::HeldElsewhere) {
            (void)lock.Join();
        }
        return StartDecision::Run;
    }
    (void)NotifyAny(running, commandLine.update ? InstanceRequest::Update : InstanceRequest::Open);
    return StartDecision::Exit;
}

} // namespace tavrix::app
