#include "controls/window_message.h"

#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <QWidget>

#include "controls/control_id.h"

namespace tavrix::controls {

namespace {

LParam Deliver(QWidget* window, uint32_t message, WParam wParam, LParam lParam)
{
    auto* target = dynamic_cast<MessageTarget*>(window);
    if (target == nullptr) {
        return 0;
    }
    if (message == WM_COMMAND) {
        return target->OnCommand(static_cast<int>(wParam & 0xFFFF)) ? 1 : 0;
    }
    return target->OnMessage(message, wParam, lParam);
}

} // namespace

void PostMessage(QWidget* window, uint32_t message, WParam wParam, LParam lParam)
{
    if (window == nullptr) {
        return;
    }
    // The window is the context object: Qt drops the call when the window is gone by then.
    QMetaObject::invokeMethod(
        window, [window, message, wParam, lParam] { Deliver(window, message, wParam, lParam); }, Qt::QueuedConnection);
}

LParam SendMessage(QWidget* window, uint32_t message, WParam wParam, LParam lParam)
{
    if (window == nullptr) {
        return 0;
    }
    if (QThread::currentThread() == window->thread()) {
        return Deliver(window, message, wParam, lParam);
    }
    LParam result = 0;
    QMetaObject::invokeMethod(
        window, [window, message, wParam, lParam, &result] { result = Deliver(window, message, wParam, lParam); },
        Qt::BlockingQueuedConnection);
    return result;
}

QWidget* OwnerWindow(const QWidget& control)
{
    for (QWidget* window = control.parentWidget(); window != nullptr; window = window->parentWidget()) {
        if (dynamic_cast<MessageTarget*>(window) != nullptr) {
            return window;
        }
    }
    return nullptr;
}

void NotifyCommand(QWidget& control)
{
    if (auto* target = dynamic_cast<MessageTarget*>(OwnerWindow(control))) {
        target->OnCommand(GetDlgCtrlID(control));
    }
}

} // namespace tavrix::controls
