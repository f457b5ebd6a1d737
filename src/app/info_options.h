#pragma once

#include <optional>
#include <string>
#include <vector>

// Options that only print something and end the program: "--help" (or "-h") and "--version".
// They are answered before the application object exists, so they need no display and never
// reach a running instance.
namespace tavrix::app {

// The text the first of them among the arguments (after the program name, without regard to
// case) prints on standard output; nothing when the arguments hold neither.
std::optional<std::string> InfoOptionText(const std::vector<std::string>& arguments);

} // namespace tavrix::app
