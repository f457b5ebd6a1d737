#include "ctl_run.h"

#include <array>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tavrix::testing {

namespace {

std::vector<char*> Argv(const std::string& path, const std::vector<std::string>& arguments)
{
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    return argv;
}

} // namespace

CtlRun RunProgram(const std::string& path, const std::vector<std::string>& arguments)
{
    CtlRun run;
    int out[2];
    int err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", 0, 0);
    for (const int fd : {out[0], out[1], err[0], err[1]})
        ::posix_spawn_file_actions_addclose(&actions, fd);
    std::vector<char*> argv = Argv(path, arguments);
    pid_t pid = 0;
    const int spawned = ::posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    // Both pipes at once, so a child that fills one never waits for the other to be read.
    std::array<pollfd, 2> pipes{pollfd{out[0], POLLIN, 0}, pollfd{err[0], POLLIN, 0}};
    std::array<std::string*, 2> texts{&run.out, &run.err};
    while (spawned == 0 && (pipes[0].fd >= 0 || pipes[1].fd >= 0)) {
        if (::poll(pipes.data(), pipes.size(), -1) < 0)
            break;
        for (size_t i = 0; i < pipes.size(); ++i) {
            if (pipes[i].fd < 0 || pipes[i].revents == 0)
                continue;
            char buffer[4096];
            const ssize_t got = ::read(pipes[i].fd, buffer, sizeof buffer);
            if (got <= 0)
                pipes[i].fd = -1;
            else
                texts[i]->append(buffer, static_cast<size_t>(got));
        }
    }
    ::close(out[0]);
    ::close(err[0]);
    int status = 0;
    if (spawned == 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    return run;
}

int StartProgram(const std::string& path, const std::vector<std::string>& arguments)
{
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        ::posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY, 0);
    std::vector<char*> argv = Argv(path, arguments);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? pid : -1;
}

void StopProgram(int pid)
{
    if (pid <= 0)
        return;
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

} // namespace tavrix::testing
