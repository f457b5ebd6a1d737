#include <QApplication>
#include <cstdio>

#include "app/info_options.h"
#include "app/tavrix_app.h"
#include "controls/skin_look.h"

int main(int argc, char* argv[])
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    // Answered before Qt starts: help and version need no display.
    if (const std::optional<std::string> text = tavrix::app::InfoOptionText(arguments)) {
        std::fputs(text->c_str(), stdout);
        return 0;
    }
    QApplication application(argc, argv);
    // Lets Wayland desktops match the window to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tavrix.Tavrix"));
    tavrix::controls::ApplySkinLook();
    tavrix::app::CTavrixApp app(std::move(arguments));
    (void)app.InitInstance();
    return 0;
}
