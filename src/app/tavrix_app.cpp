#include "app/tavrix_app.h"

#include <QApplication>

#include "app/app_state.h"
#include "app/startup_window.h"
#include "platform/app_profile.h"
#include "platform/executable_path.h"
#include "platform/registry_store.h"
#include "platform/shell_open.h"

namespace tavrix::app {

CTavrixApp::CTavrixApp(std::vector<std::string> arguments) : m_arguments(std::move(arguments))
{
}

bool CTavrixApp::InitInstance()
{
    platform::SetRegistryKey(kRegistryCompany, kApplicationTitle);
    SetProgramPaths(BuildProgramPaths(platform::ExecutablePath()));
    // Open or create the program's key; without it the language is derived anew on every lookup.
    (void)platform::RegistryKey::Create(platform::kProgramRegistryKey);
    // The two model locks are process-wide objects (ModelLock, SecondModelLock): they exist
    // before the window and outlive it.
    RunWindow();
    return false;
}

void CTavrixApp::RunWindow()
{
    if (CheckSingleInstance(m_arguments, GetProgramPaths().exeFileName, m_instanceLock) == StartDecision::Exit) {
        return;
    }
    StartCompanion(GetProgramPaths().companionProgram);
    StartupWindow window([this] { m_instanceLock.Release(); });
    // Without the socket a later start cannot reach this instance, but this one still runs.
    (void)window.ListenForInstances();
    if (!IsStartHidden()) {
        window.ShowAndRaise();
    }
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::exec();
}

void StartCompanion(const std::string& companionProgram)
{
    (void)platform::ShellOpen(platform::ShellRequest{companionProgram, {}, platform::ShowMode::Hidden});
}

}  // namespace tavrix::app
