#pragma once

#include <cstdint>

class QWidget;

// Messages between windows: (message, wParam, lParam) carried through Qt's event queue, so any
// thread may post to a window and a window handles them on its own thread in arrival order.
namespace tavrix::controls {

using WParam = uintptr_t;
using LParam = intptr_t;

// A click notification; wParam holds the control id in its low 16 bits.
inline constexpr uint32_t WM_COMMAND = 0x0111;

// What a window implements to receive messages. A WM_COMMAND message arrives as OnCommand.
class MessageTarget {
public:
    virtual ~MessageTarget() = default;
    // A control of the window was clicked (or a command was posted). True when handled.
    virtual bool OnCommand(int id) = 0;
    virtual LParam OnMessage(uint32_t message, WParam wParam, LParam lParam) = 0;
};

// Queues the message for window and returns at once. Safe from any thread. A window that is not
// a MessageTarget, or is destroyed before the message is handled, drops it.
void PostMessage(QWidget* window, uint32_t message, WParam wParam, LParam lParam);

// Handles the message on the window's thread and returns the handler's result. From another
// thread the call blocks until the window's thread handled it. 0 for a window that is not a
// MessageTarget.
LParam SendMessage(QWidget* window, uint32_t message, WParam wParam, LParam lParam);

// The window a control reports to: its nearest ancestor that is a MessageTarget, or nullptr.
[[nodiscard]] QWidget* OwnerWindow(const QWidget& control);

// Tells the control's owner window that control was clicked.
void NotifyCommand(QWidget& control);

} // namespace tavrix::controls
