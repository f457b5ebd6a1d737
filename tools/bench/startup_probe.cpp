// The utility as it starts for a user, reporting the moment its first window is shown and its
// resident memory then, for tools/bench/run-startup. It runs from the output folder so it finds
// the device library, skin and language files exactly as the utility does.
#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

#include "app/tavrix_app.h"

namespace {

long ResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

// Reports the first top-level window shown, then ends the process: nothing after it is measured.
class FirstWindowShown : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget && widget->isWindow()) {
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::printf("shown_at_ns=%lld rss_kb=%ld\n",
                        static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, ResidentKilobytes());
            std::fflush(stdout);
            std::_Exit(0);
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    FirstWindowShown probe;
    application.installEventFilter(&probe);
    tavrix::app::CTavrixApp app({});
    (void)app.InitInstance();
    return 1; // the window was never shown
}
