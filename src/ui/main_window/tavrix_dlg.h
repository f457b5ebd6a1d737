#pragma once

#include <QPixmap>
#include <QPointer>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/instance_messages.h"
#include "app/program_paths.h"
#include "controls/png_button.h"
#include "controls/prompts.h"
#include "ctl/ctl_protocol.h"
#include "device/command_set.h"
#include "device/device_host.h"
#include "device/device_link.h"
#include "device/device_service.h"
#include "model/device_sync.h"
#include "model/lighting_controller.h"
#include "platform/serial_worker.h"
#include "skin/base_dialog.h"
#include "ui/main_window/about_dlg.h"
#include "ui/main_window/drawn_keyboard.h"
#include "ui/main_window/lighting_panel.h"
#include "ui/main_window/progress_picture.h"
#include "ui/main_window/window_parts.h"
#include "ui/tray/tray_icon.h"
#include "ui/tray/tray_pictures.h"

// The program's only top-level window. It binds the device library, keeps the model in step
// with the keyboard, lives mostly hidden behind its tray icon and owns every editor.
namespace tavrix::ui {

// Buttons of the window's own that more than one of its files name.
inline constexpr int kProfilesButtonId = 1005;
inline constexpr int kApplyButtonId = 1006;
inline constexpr int kDefaultsButtonId = 1138;
// The links to the maker's site and its two social pages, in the order of the link settings.
inline constexpr std::array<int, 3> kLinkButtonIds{1121, 1209, 1210};
inline constexpr int kMacroButtonId = 1007;
inline constexpr int kHelpButtonId = 1122;
inline constexpr int kMinimizeButtonId = 1123;
inline constexpr int kCloseButtonId = 1124;
inline constexpr int kVersionButtonId = 1134;
inline constexpr int kMenuButtonId = 1139;
// Placed from the skin but never shown.
inline constexpr int kSwitchButtonId = 1144;

// The file dialog for profile files: ".fwc" files or any, opening in folder (the user's
// documents when empty); a save asks before replacing a file.
[[nodiscard]] controls::FileRequest ProfileFileRequest(bool save, const QString& folder);

// The main window's skin sheets, for the parts drawn on it.
struct MainSheets {
    QPixmap normal, over, down, disabled;
    // The second normal sheet: the top row swapped to D1 to D6 (the flip indicator and the
    // greyed F1 to F4 show it).
    QPixmap normal2;
    QPixmap arrow;
};

class CTavrixDlg : public skin::CBaseDialog, public device::DeviceHost, public model::SyncHost {
public:
    static constexpr int kTemplateId = 102;

    // Binds the device library and calls its Init; the real one ends the process on failure.
    using ServiceBinder = std::function<device::DeviceService()>;

    // paths: the program's paths (skin, help, settings); binder: how the device library is bound.
    CTavrixDlg(app::ProgramPaths paths, ServiceBinder binder);
    ~CTavrixDlg() override;

    // Attaches the editors, and a keyboard or lighting panel other than the window's own.
    void AttachParts(const WindowParts& parts) { m_parts = parts; }
    [[nodiscard]] const WindowParts& Parts() const { return m_parts; }
    // The keyboard and lighting panel the window draws itself; attached unless AttachParts
    // names others.
    [[nodiscard]] DrawnKeyboard& Keyboard() { return m_keyboard; }
    [[nodiscard]] LightingPanel& Lighting() { return m_lighting; }
    // What the exit routine does to give up being the program's instance.
    void SetInstanceRelease(std::function<void()> release) { m_releaseInstance = std::move(release); }
    // What ends the program's run once the exit routine finished.
    void SetRunEnd(std::function<void()> end) { m_endRun = std::move(end); }

    void SetApplyEnabled(bool enabled);
    [[nodiscard]] bool IsApplyEnabled() const { return m_applyEnabled; }
    void ShowMainWindow();
    void ApplyChanges();
    bool ExitRoutine();
    // Makes profile n (0..2; n from 3 on means 0) current on the keyboard, asking first about
    // unapplied changes: 1 when handled, 0 when refused. A negative n changes nothing.
    int SwitchProfile(int n);
    void UpdateProfileCaption();
    // Shows the keyboard's current profile: its profile button, the caption and its lighting.
    void ShowCurrentProfile();
    void SetTrayIconId(int iconId);
    [[nodiscard]] int TrayIconId() const { return m_trayIconId; }
    // Re-marks the key buttons of the current profile and their descriptions from the model.
    void RefreshKeyMarks();

    // DeviceHost: calls from the device link's threads.
    void OnBankChanged(int bank) override;
    void OnKeyboardLightingChanged() override;
    void OnKeyboardBusy(bool busy) override;
    void OnConnectionChanged(int deviceCount) override;

    // SyncHost.
    std::u16string Text(std::string_view key) const override;
    void ShowMessage(const std::u16string& text) override;
    bool IsInitialisationComplete() const override;
    void OnKeyboardArrived() override;
    void OnKeyboardRemoved() override;
    void ShowConnected(bool connected) override;
    void ShowWindow() override;
    bool IsStartHidden() const override;
    void SetStartHidden() override;
    void OnModelReplaced() override;
    void OnNothingToApply() override;

    bool OnCommand(int id) override;
    controls::LParam OnMessage(uint32_t message, controls::WParam wParam, controls::LParam lParam) override;

    [[nodiscard]] model::DeviceSync& Sync() { return *m_sync; }
    [[nodiscard]] device::CommandSet& Commands() { return *m_commands; }
    [[nodiscard]] model::LightingController& LightingControl() { return *m_lightingControl; }
    // The keyboard's current profile as last learnt, -1 when none: the window never asks the
    // keyboard itself.
    [[nodiscard]] int CurrentProfile() const;
    // Nothing waits or runs on the keyboard thread.
    [[nodiscard]] bool IsKeyboardIdle() const { return m_keyboardThread.IsIdle(); }
    // Runs work on the window's thread: at once from it, queued from any other.
    void RunOnWindowThread(std::function<void()> work);
    // Runs work on the keyboard thread, after what waits there, and handles the window's events
    // (not the user's input) until it is done.
    void RunKeyboardWork(const std::function<void()>& work);
    [[nodiscard]] CTrayIcon& TrayIcon() { return m_trayIcon; }
    [[nodiscard]] CAboutDlg* AboutDialog() const { return m_about.data(); }
    [[nodiscard]] const MainSheets& Sheets() const { return m_sheets; }
    [[nodiscard]] const std::string& SiteLink() const { return m_links[0]; }
    [[nodiscard]] int ActiveBank() const { return m_link ? m_link->ActiveBank() : 0; }
    [[nodiscard]] const app::ProgramPaths& Paths() const { return m_paths; }
    // Opens the program's help page.
    void OpenHelp();
    // Carries out a request of tavrix-ctl (the body of one on the instance socket) through the
    // window's own model, and returns the reply for it.
    app::CtlReply OnCtlRequest(std::span<const uint8_t> body);

protected:
    bool OnInitDialog() override;
    void OnTimer(int id) override;
    void OnOK() override;
    void OnCancel() override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct WindowButton;

    void MakeSheets();
    void ReadLinks();
    void PlaceWindowButtons();
    void StyleCaption(int id, const char* textKey, int languageIndex);
    void StyleCornerButtons(int languageIndex);
    [[nodiscard]] controls::ButtonSheets SheetsFor(const char* pattern) const;

    void OnInit();
    void OnProfile();
    void OnLanguage(int languageIndex);
    void CloseEditors();
    void OpenAbout();
    void OpenLink(int index);
    void RunButtonMenu();
    void ImportProfile();
    void ExportProfile();
    void RestoreDefaults();
    void ClearCurrentProfileKeys(int profile);
    void ExitCommand();
    void StopDeviceLink();
    void FinishProgress();
    controls::CPngButton* Button(int id) const;

    app::CtlReply CarryOutCtlRequest(const ctl::CtlRequest& request);
    // Shows the keyboard's current profile after tavrix-ctl switched it, as a profile button does.
    void ShowSwitchedProfile();
    // While a request of tavrix-ctl runs, the user's messages go back to it rather than into a
    // message box: true when the message was taken.
    bool CaptureCtlMessage(const std::u16string& text);

    app::ProgramPaths m_paths;
    ServiceBinder m_binder;
    DrawnKeyboard m_keyboard{*this};
    LightingPanel m_lighting{*this};
    WindowParts m_parts{&m_keyboard, &m_lighting};
    std::function<void()> m_releaseInstance;
    std::function<void()> m_endRun;

    MainSheets m_sheets;
    std::array<std::string, 3> m_links;
    QString m_profileFolder; // where the last profile file was chosen
    ProgressPicture* m_progress = nullptr;
    CTrayIcon m_trayIcon;
    QPointer<CAboutDlg> m_about;

    device::DeviceService m_service;
    std::unique_ptr<device::DeviceLink> m_link;
    std::unique_ptr<device::CommandSet> m_commands;
    std::unique_ptr<model::DeviceSync> m_sync;
    std::unique_ptr<model::LightingController> m_lightingControl;
    // Everything the window asks of the keyboard runs here, in the order asked.
    platform::SerialWorker m_keyboardThread;

    std::atomic<bool> m_applyEnabled{false};
    std::atomic<bool> m_initialisationComplete{false};
    std::atomic<bool> m_closing{false};
    std::atomic<int> m_trayIconId{kIconNoKeyboard};
    std::atomic<int> m_connectionTrayIconId{kIconNoKeyboard}; // shown while the keyboard is not busy
    bool m_applying = false;
    int m_progressRun = 0;
    bool m_exited = false;
    bool m_askingToSwitch = false;
    bool m_noKeyboardBoxUp = false;
    bool m_ctlRequestRunning = false;
    std::mutex m_ctlMessagesMutex; // guards the messages for tavrix-ctl
    std::optional<std::vector<std::string>> m_ctlMessages;
};

} // namespace tavrix::ui
