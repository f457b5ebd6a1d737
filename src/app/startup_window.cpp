#include "app/startup_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

#include "app/instance_messages.h"
#include "skin/language.h"

namespace tavrix::app {

StartupWindow::StartupWindow(std::function<void()> exitRoutine, QWidget* parent)
    : QWidget(parent), m_exitRoutine(std::move(exitRoutine)),
      m_server([this](uint32_t message, uint32_t wParam, uint32_t lParam) {
          return HandleInstanceMessage(message, wParam, lParam);
      })
{
    const int language = skin::GetLanguageIndex();
    setWindowTitle(QString::fromStdString(skin::LoadLangText("MAIN_CAPTION", language)));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromStdString(skin::LoadLangText("KEYBOARD_TRAY_DESC", language)), this));
    resize(320, 120);
}

bool StartupWindow::ListenForInstances()
{
    return m_server.Listen();
}

bool StartupWindow::HandleInstanceMessage(uint32_t message, uint32_t wParam, uint32_t lParam)
{
    if (lParam != 0) {
        return false;
    }
    if (message == UM_OPEN && wParam == kOpenRequestTag) {
        ShowAndRaise();
        return true;
    }
    if (message == UM_KILL && wParam == kKillRequestTag) {
        Exit();
        return true;
    }
    return false;
}

void StartupWindow::ShowAndRaise()
{
    showNormal();
    raise();
    activateWindow();
}

void StartupWindow::Exit()
{
    if (m_exited) {
        return;
    }
    m_exited = true;
    m_server.Close();
    if (m_exitRoutine) {
        m_exitRoutine();
    }
    hide();
    QCoreApplication::quit();
}

void StartupWindow::closeEvent(QCloseEvent* event)
{
    Exit();
    event->accept();
}

}  // namespace tavrix::app
