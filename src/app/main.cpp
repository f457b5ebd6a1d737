#include <QApplication>

#include "app/tavrix_app.h"
#include "controls/skin_look.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    tavrix::controls::ApplySkinLook();
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    tavrix::app::CTavrixApp app(std::move(arguments));
    (void)app.InitInstance();
    return 0;
}
