#include "app/tavrix_app.h"

#include <QApplication>

#include "app/app_state.h"
#include "app/instance_messages.h"
#include "app/instance_server.h"
#include "device/device_service.h"
#include "platform/app_profile.h"
#include "platform/executable_path.h"
#include "platform/registry_store.h"
#include "platform/shell_open.h"
#include "ui/editors/tavrix_dlg_composite.h"
#include "ui/editors/tavrix_dlg_profile.h"
#include "ui/editors/tavrix_dlg_update.h"
#include "ui/main_window/tavrix_dlg.h"

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
    const ProgramPaths& paths = GetProgramPaths();
    ui::CTavrixDlg window(
        paths, [folder = paths.exeDrive + paths.exeFolder] { return device::BindDeviceServiceOrExit(folder); });
    ui::CTavrix_DlgProfile profileManager(window);
    ui::Tavrix_DlgComposite composite(window);
    ui::CTavrix_DlgUpdate update(window);
    ui::WindowParts parts = window.Parts();
    parts.profileManager = &profileManager;
    parts.composite = &composite;
    parts.update = &update;
    window.AttachParts(parts);
    InstanceServer server([&window](uint32_t message, uint32_t wParam, uint32_t lParam) {
        if (!IsInstanceMessage(message, wParam, lParam)) {
            return false;
        }
        // The command runs a modal dialog: the sender hears at once that it arrived.
        if (message == controls::WM_COMMAND) {
            window.PostMessage(message, wParam, lParam);
            return true;
        }
        return window.OnMessage(message, wParam, lParam) != 0;
    });
    server.SetCtlHandler([&window](std::span<const uint8_t> body) { return window.OnCtlRequest(body); });
    window.SetInstanceRelease([this, &server] {
        server.Close();
        m_instanceLock.Release();
    });
    // exit, not quit: the run ends even from inside a message box the window shows.
    window.SetRunEnd([] { QCoreApplication::exit(0); });
    // The window sets itself up hidden; it shows itself once the keyboard is there.
    window.Create();
    // Without the socket a later start cannot reach this instance until the server manages to
    // listen again, but this one still runs.
    (void)server.Listen();
    if (ParseCommandLine(m_arguments).update) {
        window.PostMessage(controls::WM_COMMAND, kUpdateCommand, 0);
    }
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::exec();
}

void StartCompanion(const std::string& companionProgram)
{
    (void)platform::ShellOpen(platform::ShellRequest{companionProgram, {}, platform::ShowMode::Hidden});
}

} // namespace tavrix::app
