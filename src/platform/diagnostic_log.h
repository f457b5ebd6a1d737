#pragma once

// A short log a user can attach to a bug report: failed keyboard commands with their result
// codes and the facts of the start-up. Lines go to stderr while TAVRIX_DEBUG is "1" and nowhere
// otherwise; the variable is read once, at the first line.
namespace tavrix::platform {

[[nodiscard]] bool IsDiagnosticLogOn();

// One line, printf style, prefixed with "tavrix: " and the time since the program started.
// Safe from any thread; lines never mix.
void LogDiagnostic(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace tavrix::platform
