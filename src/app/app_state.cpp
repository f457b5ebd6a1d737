#include "app/app_state.h"

#include <atomic>

namespace tavrix::app {

namespace {

ProgramPaths g_paths;
std::atomic<bool> g_startHidden{false};

} // namespace

const ProgramPaths& GetProgramPaths()
{
    return g_paths;
}

void SetProgramPaths(const ProgramPaths& paths)
{
    g_paths = paths;
}

void BuildSettingsPath()
{
    BuildSettingsPath(g_paths);
}

// The locks live for the whole process: they exist before the first window and outlast the
// last thread that could take them.
std::recursive_mutex& ModelLock()
{
    static std::recursive_mutex lock;
    return lock;
}

std::recursive_mutex& SecondModelLock()
{
    static std::recursive_mutex lock;
    return lock;
}

bool IsStartHidden()
{
    return g_startHidden.load();
}

void SetStartHidden(bool hidden)
{
    g_startHidden.store(hidden);
}

} // namespace tavrix::app
