#pragma once

#include <QApplication>
#include <QObject>
#include <QStringList>
#include <atomic>
#include <functional>

#include "composite_fixture.h"

// Window tests on a real X server with real input: a driver thread plays the user, clicking and
// typing with xdotool (XTest) and waiting for what the windows show, while the test's own thread
// runs the windows (and the dialog's modal run inside them).
namespace tavrix::testing {

// Counts the key events of one native scan code that reach the filter.
class KeyCounter : public QObject {
public:
    explicit KeyCounter(quint32 nativeScanCode) : m_code(nativeScanCode) {}

    std::atomic<int> presses{0};
    std::atomic<int> releases{0};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    quint32 m_code;
};

class X11CompositeTest : public CompositeTest {
protected:
    // Skips the case outside the X server RunUnderXvfb starts; otherwise starts the main window
    // and waits until the display shows it.
    void SetUp() override;

    // Plays the user on a thread of its own while this thread runs the windows; returns once
    // the steps are done.
    static void Drive(const std::function<void()>& steps);

    // From the driver: fn's result, computed on the windows' thread.
    template <typename Fn> static auto OnUi(Fn fn)
    {
        decltype(fn()) result{};
        QMetaObject::invokeMethod(
            qApp, [&] { result = fn(); }, Qt::BlockingQueuedConnection);
        return result;
    }

    // From the driver: waits until condition (run on the windows' thread) holds.
    static bool WaitFor(const std::function<bool()>& condition);
    static bool Xdotool(const QStringList& arguments);
    // Clicks the middle of control id of window, on the screen; repeat clicks in a row make a
    // double click.
    static bool ClickOn(const skin::CBaseDialog& window, int id, int repeat = 1);
};

} // namespace tavrix::testing
