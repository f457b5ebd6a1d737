#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>

// Opening a program, a document or a web address "through the shell". A target with a URL
// scheme ("https:", "mailto:") is opened as that address, never looked for as a file. An absolute
// path names a file: an executable one is started detached (the utility never waits for it),
// any other is opened by the desktop's default handler. Nothing else is opened: a relative path
// would depend on the folder the utility was started from. Tests replace the whole function to
// see what would have been opened.
namespace tavrix::platform {

// How the started program's window should appear. A Linux program decides about its own windows,
// so the mode only travels with the request (the companion program is asked for Hidden).
enum class ShowMode { Normal, Hidden };

struct ShellRequest {
    ShellRequest(std::string target, std::string parameters = {}, ShowMode show = ShowMode::Normal,
                 std::string folder = {})
        : target(std::move(target)), parameters(std::move(parameters)), show(show), folder(std::move(folder))
    {
    }

    std::string target;     // a file path or a URL
    std::string parameters; // blank-separated arguments for a program; may be empty
    ShowMode show = ShowMode::Normal;
    std::string folder; // the folder a started program runs in; empty: the utility's own
};

using ShellOpenHandler = std::function<bool(const ShellRequest&)>;

// True when the target was handed over; nothing is reported otherwise.
bool ShellOpen(const ShellRequest& request);

// Whether the target starts with a URL scheme: a letter, then letters, digits, '+', '-' or '.',
// then ':'.
bool HasUrlScheme(std::string_view target);

// Replaces the handler (an empty handler puts the real one back).
void SetShellOpenHandler(ShellOpenHandler handler);

} // namespace tavrix::platform
