#pragma once

#include <iosfwd>

// The command line of tavrix-ctl: its subcommands, what each prints and the exit code it ends
// with.
namespace tavrix::ctl {

inline constexpr int kExitDone = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitNoKeyboard = 2;
inline constexpr int kExitKeyboardFailed = 3;
inline constexpr int kExitBadFile = 4;

// Runs the command line; machine-readable output goes to out, messages (one a line) to err.
int RunCtl(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace tavrix::ctl
