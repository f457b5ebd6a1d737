#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>

#include "app/instance_server.h"

namespace tavrix::app {

// The window the program runs until its main window exists: it carries the caption, answers a
// later start (UM_OPEN brings it to the front) and "/Kill" (UM_KILL runs the exit routine).
class StartupWindow : public QWidget {
    Q_OBJECT

public:
    // exitRoutine runs once, when the program is asked to end; the window then closes and the
    // event loop ends.
    explicit StartupWindow(std::function<void()> exitRoutine, QWidget* parent = nullptr);

    // Starts answering other instances.
    [[nodiscard]] bool ListenForInstances();

    // The handling of a message from another instance; true when it was one of ours.
    bool HandleInstanceMessage(uint32_t message, uint32_t wParam, uint32_t lParam);

    // Shows the window normally and brings it to the front.
    void ShowAndRaise();

    // Releases what the window holds for the instance, runs the exit routine and ends the loop.
    void Exit();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<void()> m_exitRoutine;
    InstanceServer m_server;
    bool m_exited = false;
};

}  // namespace tavrix::app
