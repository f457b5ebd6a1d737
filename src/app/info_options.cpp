#include "app/info_options.h"

#include "platform/utf.h"

namespace tavrix::app {

namespace {

constexpr const char* kHelpText =
    "Usage: tavrix [/Start] [/Kill] [/Update]\n"
    "Configuration utility of the PL3094V gaming keyboard; it lives in the notification area.\n"
    "\n"
    "  (no option)      start, or bring the running utility's window to the front\n"
    "  /Start, --start  start in the notification area without showing the window\n"
    "  /Kill, --kill    make the running utility exit; never starts one\n"
    "  /Update, --update\n"
    "                   open the running utility's firmware update dialog, starting the\n"
    "                   utility first when none runs\n"
    "  --help, -h       print this help and end\n"
    "  --version        print the version and end\n"
    "\n"
    "Options are case-insensitive and read left to right. More in tavrix(1).\n";

} // namespace

std::optional<std::string> InfoOptionText(const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments) {
        if (platform::EqualsNoCase(argument, "--help") || platform::EqualsNoCase(argument, "-h")) {
            return kHelpText;
        }
        if (platform::EqualsNoCase(argument, "--version")) {
            return std::string("tavrix ") + TAVRIX_VERSION + "\n";
        }
    }
    return std::nullopt;
}

} // namespace tavrix::app
