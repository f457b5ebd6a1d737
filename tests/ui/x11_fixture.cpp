#include "x11_fixture.h"

#include <QKeyEvent>
#include <QProcess>
#include <QWindow>
#include <chrono>
#include <thread>

#include "platform/clock.h"
#include "xvfb_run.h"

namespace tavrix::testing {

namespace {

constexpr auto kStepBound = std::chrono::seconds(10);
constexpr int kXdotoolTimeoutMs = 10000;
// Between the clicks of a double click, well inside the desktop's double-click time.
constexpr int kRepeatedClickDelayMs = 60;

} // namespace

bool KeyCounter::eventFilter(QObject*, QEvent* event)
{
    const bool press = event->type() == QEvent::KeyPress;
    if ((press || event->type() == QEvent::KeyRelease) && static_cast<QKeyEvent*>(event)->nativeScanCode() == m_code) {
        ++(press ? presses : releases);
    }
    return false;
}

void X11CompositeTest::SetUp()
{
    if (!IsUnderXvfb()) {
        GTEST_SKIP() << "runs only under the X server RunUnderXvfb starts";
    }
    CompositeTest::SetUp();
    StartShown();
    ASSERT_TRUE(WaitUntil([&] { return Dlg().windowHandle() != nullptr && Dlg().windowHandle()->isExposed(); }));
}

void X11CompositeTest::Drive(const std::function<void()>& steps)
{
    std::atomic<bool> done{false};
    std::thread driver([&] {
        steps();
        done = true;
    });
    while (!done) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        platform::SleepMs(1);
    }
    driver.join();
}

bool X11CompositeTest::WaitFor(const std::function<bool()>& condition)
{
    const auto end = std::chrono::steady_clock::now() + kStepBound;
    while (!OnUi(condition)) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool X11CompositeTest::Xdotool(const QStringList& arguments)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    if (!xdotool.waitForFinished(kXdotoolTimeoutMs)) {
        xdotool.kill();
        xdotool.waitForFinished();
        return false;
    }
    return xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
}

bool X11CompositeTest::ClickOn(const skin::CBaseDialog& window, int id, int repeat)
{
    const QPoint at = OnUi([&] {
        const QWidget* control = window.GetDlgItem(id);
        return control != nullptr ? control->mapToGlobal(control->rect().center()) : QPoint(-1, -1);
    });
    return at.x() >= 0 &&
           Xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                    QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(repeat),
                    QStringLiteral("--delay"), QString::number(kRepeatedClickDelayMs), QStringLiteral("1")});
}

} // namespace tavrix::testing
