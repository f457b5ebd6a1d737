#include "ui_testing.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <cstdlib>

#include "controls/control_id.h"

namespace tavrix::testing {

namespace {

QPoint Middle(const QWidget& control, QPoint at)
{
    return at == QPoint(-1, -1) ? control.rect().center() : at;
}

} // namespace

void EnsureApplication()
{
    if (QApplication::instance() != nullptr) {
        return;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "tavrix_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

QWidget& Control(const QWidget& window, int id)
{
    QWidget* control = controls::FindDlgItem(window, id);
    if (control == nullptr) {
        ADD_FAILURE() << "no control with id " << id;
        static QWidget nothing;
        return nothing;
    }
    return *control;
}

void Click(QWidget& control, QPoint at)
{
    QTest::mouseClick(&control, Qt::LeftButton, Qt::NoModifier, Middle(control, at));
}

void DoubleClick(QWidget& control, QPoint at)
{
    // What the window system delivers for a double click: press, release, double click, release.
    const QPoint point = Middle(control, at);
    QTest::mousePress(&control, Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseRelease(&control, Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseDClick(&control, Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseRelease(&control, Qt::LeftButton, Qt::NoModifier, point);
}

void Press(QWidget& control, QPoint at)
{
    QTest::mousePress(&control, Qt::LeftButton, Qt::NoModifier, at);
}

void Release(QWidget& control, QPoint at)
{
    QTest::mouseRelease(&control, Qt::LeftButton, Qt::NoModifier, at);
}

void MoveMouse(QWidget& control, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent move(QEvent::MouseMove, at, control.mapToGlobal(at), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&control, &move);
}

void Hover(QWidget& control)
{
    const QPoint at = control.rect().center();
    QEnterEvent enter(at, control.mapTo(control.window(), at), control.mapToGlobal(at));
    QApplication::sendEvent(&control, &enter);
    MoveMouse(control, at);
}

void Leave(QWidget& control)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&control, &leave);
}

void Key(QWidget& control, Qt::Key key)
{
    QTest::keyClick(&control, key);
}

void Wheel(QWidget& control, int delta)
{
    const QPointF at = control.rect().center();
    QWheelEvent wheel(at, control.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&control, &wheel);
}

void Pump()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

QImage Grab(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool SameArea(const QRegion& a, const QRegion& b)
{
    return a.xored(b).isEmpty();
}

bool GrabToPng(QWidget& widget, const QString& path)
{
    return widget.grab().save(path, "PNG");
}

bool RecordingWindow::OnCommand(int id)
{
    commands.push_back(id);
    return true;
}

controls::LParam RecordingWindow::OnMessage(uint32_t message, controls::WParam wParam, controls::LParam lParam)
{
    messages.push_back({message, wParam, lParam});
    return lParam;
}

} // namespace tavrix::testing
