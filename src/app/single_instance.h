#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include <sys/types.h>

// One instance per logon. The "mutex" is a lock (flock) on a file in the user's runtime folder:
// the system drops it when its holder ends, so a crashed instance never blocks the next start.
// The running instance listens on a local socket beside it; a later start finds the running
// process through /proc and hands it its request over that socket.
namespace tavrix::app {

enum class InstanceRequest { Open, Kill, Update };

// Paths of the lock file and the socket in the runtime folder.
std::string InstanceLockPath();
std::string InstanceSocketPath();

// A connection to the instance socket, or -1 when nobody listens there.
int ConnectInstanceSocket();

// Sends all bytes on the connection; false when it broke.
bool SendAll(int fd, const unsigned char* data, size_t size);
// Reads exactly size bytes before the deadline; false when they did not come.
bool ReceiveAll(int fd, unsigned char* data, size_t size, std::chrono::steady_clock::time_point deadline);

// The instance "mutex": it exists while any process holds the lock file. Every running instance
// holds it shared; creating it means taking it exclusively first, which only works when nobody
// holds it.
class InstanceLock {
public:
    enum class Result { Owned, HeldElsewhere, Unavailable };

    InstanceLock() = default;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

    // Owned: nobody held the lock and this process now does. HeldElsewhere: another live process
    // holds it. Unavailable: the runtime folder cannot be made or is not this user's alone (owned
    // by another, open to others, a link), or the lock file is no regular file or a link.
    [[nodiscard]] Result TryAcquire();
    // Holds the lock beside its other holders, so it outlives them; true when held.
    bool Join();
    void Release();
    bool Held() const { return m_fd >= 0; }

private:
    // The lock file, opened; -1 when it cannot be.
    static int OpenLockFile();

    int m_fd = -1;
};

// The processes of this user, other than the caller, whose executable file name equals the
// given name without regard to case, oldest first. A process whose executable was replaced on
// disk still counts. Unreadable entries are skipped; an unreadable /proc gives none.
std::vector<pid_t> FindProcessesByExeName(const std::string& exeFileName);

// The oldest of them, or 0.
pid_t FindProcessByExeName(const std::string& exeFileName);

// Sends the request to the instance window of the process and waits (bounded) until it was
// handled. False when no instance window of that process listens or it did not answer.
[[nodiscard]] bool NotifyInstanceWindows(pid_t processId, InstanceRequest request);

struct CommandLine {
    bool kill = false;        // "/Kill" (or --kill): make the running instance exit, then end
    bool startHidden = false; // "/Start" (or --start) before any kill: stay in the tray
    bool update = false;      // "/Update" (or --update) before any kill: run the update dialog
};

// Arguments after the program name, left to right, without regard to case; others are ignored.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

enum class StartDecision { Run, Exit };

// The check a start runs before any window exists: clears and sets the start-hidden flag from
// the command line; asks a running instance to exit ("/Kill", after which this process ends
// too; an instance that does not answer is sent SIGTERM), to run its update dialog ("/Update")
// or to show itself (a second start);
// otherwise takes the lock, or joins it when its holder is a program of another name. When the
// lock cannot be had at all, a running process of the same name still counts as the instance.
// Exit means the process must end at once with exit code 0 and show nothing.
[[nodiscard]] StartDecision CheckSingleInstance(const std::vector<std::string>& arguments,
                                                const std::string& exeFileName, InstanceLock& lock);

} // namespace tavrix::app
