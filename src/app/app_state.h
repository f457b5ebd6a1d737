#pragma once

#include <mutex>

#include "app/program_paths.h"

// Process-wide state the start-up owns and the rest of the program reads.
namespace tavrix::app {

// The program paths, set once by the start-up before any window exists.
const ProgramPaths& GetProgramPaths();
void SetProgramPaths(const ProgramPaths& paths);
// Fills in the settings-file path (and creates its folder); called once by the main window.
void BuildSettingsPath();

// Guards the edited model (model image, macro store, entry texts).
std::recursive_mutex& ModelLock();
// Guards the apply copy. Whoever needs both takes ModelLock first.
std::recursive_mutex& SecondModelLock();

// When set, the connection-state routine does not show the main window by itself.
bool IsStartHidden();
void SetStartHidden(bool hidden);

} // namespace tavrix::app
