#pragma once

#include <functional>
#include <string>

// Opening a program, a document or a web address "through the shell". Programs are started
// detached (the utility never waits for them); anything else goes to the desktop's default
// handler. Tests replace the whole function to see what would have been opened.
namespace tavrix::platform {

// How the started program's window should appear. A Linux program decides about its own windows,
// so the mode only travels with the request (the companion program is asked for Hidden).
enum class ShowMode { Normal, Hidden };

struct ShellRequest {
    std::string target;     // a file path or a URL
    std::string parameters;  // blank-separated arguments for a program; may be empty
    ShowMode show = ShowMode::Normal;
};

using ShellOpenHandler = std::function<bool(const ShellRequest&)>;

// True when the target was handed over; nothing is reported otherwise.
bool ShellOpen(const ShellRequest& request);

// Replaces the handler (an empty handler puts the real one back).
void SetShellOpenHandler(ShellOpenHandler handler);

}  // namespace tavrix::platform
