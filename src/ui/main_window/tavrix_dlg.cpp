#include "ui/main_window/tavrix_dlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QThread>
#include <thread>

#include "app/app_state.h"
#include "controls/prompts.h"
#include "platform/clock.h"
#include "skin/language.h"
#include "skin/skin_placement.h"
#include "skin/state_sheet.h"
#include "ui/main_window/custom_messages.h"
#include "ui/main_window/key_layout.h"
#include "ui/main_window/lang_text.h"

namespace tavrix::ui {

namespace {

constexpr int kLanguageIndexLimit = 3;

} // namespace

CTavrixDlg::CTavrixDlg(app::ProgramPaths paths, ServiceBinder binder)
    : skin::CBaseDialog(kTemplateId, nullptr, paths.mainSkinFile, paths.mainSkinFolder), m_paths(std::move(paths)),
      m_binder(std::move(binder))
{
    SetIconFolder(m_paths.exeDrive + m_paths.exeFolder + "Icons/");
    setWindowIcon(ApplicationIcon());
}

CTavrixDlg::~CTavrixDlg()
{
    StopDeviceLink();
    delete m_about.data();
}

bool CTavrixDlg::OnInitDialog()
{
    skin::CBaseDialog::OnInitDialog();
    m_initialisationComplete = false;

    // Without the device library the program has nothing to offer: the binder ends the process.
    m_service = m_binder();
    m_link = std::make_unique<device::DeviceLink>(m_service, *this);
    m_commands = std::make_unique<device::CommandSet>(*m_link);
    m_sync = std::make_unique<model::DeviceSync>(*m_commands, *this, app::ModelLock(), app::SecondModelLock());
    m_lightingControl = std::make_unique<model::LightingController>(
        *m_commands, [this](model::LightingController::Job job) { m_keyboardThread.Post(std::move(job)); });
    m_link->Start();
    if (m_link->IsDevicePresent() == 0) {
        app::SetStartHidden(true);
    }

    SetApplyEnabled(false);
    MakeSheets();
    ReadLinks();
    if (m_parts.keyboard != nullptr) {
        m_parts.keyboard->PlaceKeyboard();
    }
    PlaceWindowButtons();
    app::BuildSettingsPath();

    m_progress = new ProgressPicture(this, SkinFolder());
    skin::PlaceSkinControl(*m_progress, SkinIniPath(), "BUTTONINFO", "CONTROL_JDTStatic");
    if (m_parts.lighting != nullptr) {
        m_parts.lighting->PlaceLightingPanel();
    }

    // Hidden after start-up the window has no taskbar entry; ShowMainWindow gives it one.
    setWindowFlag(Qt::Tool, true);
    setWindowTitle(LangText("MAIN_CAPTION"));
    SendMessage(UM_LANG, kLangTag, skin::GetLanguageIndex());
    PostMessage(UM_INIT, kInitTag, 0);
    return true;
}

void CTavrixDlg::MakeSheets()
{
    const std::string& folder = m_paths.exeFolder;
    const struct {
        QPixmap* sheet;
        const char* file;
    } kSheets[] = {
        {&m_sheets.normal, "Skins\\main_normal.jpg"}, {&m_sheets.over, "Skins\\main_over.jpg"},
        {&m_sheets.down, "Skins\\main_down.jpg"},     {&m_sheets.disabled, "Skins\\main_disable.jpg"},
        {&m_sheets.arrow, "Skins\\Arrow.jpg"},
    };
    for (const auto& [sheet, file] : kSheets) {
        skin::MakeStateSheet(*sheet, skin::LoadSkinImage(folder, file), *this);
    }
    // The swapped top row has a sheet of its own; a skin without one shows both rows alike.
    const QImage swapped = skin::LoadSkinImage(folder, "Skins\\main_flip.jpg");
    if (swapped.isNull()) {
        m_sheets.normal2 = m_sheets.normal;
        return;
    }
    skin::MakeStateSheet(m_sheets.normal2, swapped, *this);
}

void CTavrixDlg::ReadLinks()
{
    static constexpr std::array<const char*, 3> kKeys{"Link", "Facebook_Link", "Twitter_Link"};
    static constexpr std::array<const char*, 3> kDefaults{"https://tavrix.example.org/", "https://www.facebook.com/",
                                                          "https://twitter.com/"};
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        m_links[i] = m_iniFile.ReadString("SCREEN", kKeys[i], kDefaults[i]).value_or("").substr(0, 259);
    }
}

void CTavrixDlg::OnInit()
{
    m_trayIcon.Create(this, LangText("KEYBOARD_TRAY_DESC"), kIconNoKeyboard, kTrayMenuId);
    m_trayIcon.SetMenuCallback([](std::vector<TrayMenuItem>& items) {
        for (TrayMenuItem& item : items) {
            const char* key = item.id == kCommandOpen ? "MENU_11" : item.id == kCommandAbout ? "MENU_22" : "MENU_33";
            item.text = LangText(key);
        }
    });
    m_trayIconId = kIconNoKeyboard;
    UpdateProfileCaption();
    m_initialisationComplete = true;
    hide();
}

void CTavrixDlg::OnProfile()
{
    if (m_closing) {
        return;
    }
    // The connection thread read the keyboard into the model before it sent UM_PROFILE.
    // A keyboard found after start-up names its profile only now.
    ShowCurrentProfile();
}

void CTavrixDlg::ShowCurrentProfile()
{
    m_lightingControl->SelectProfile(CurrentProfile());
    if (m_parts.keyboard != nullptr) {
        m_parts.keyboard->SelectProfileButton(CurrentProfile());
    }
    UpdateProfileCaption();
    if (m_parts.lighting != nullptr) {
        m_parts.lighting->ReadLightingState(model::LightingRead::Full);
    }
}

int CTavrixDlg::CurrentProfile() const
{
    return m_commands != nullptr ? m_commands->CachedProfile() : -1;
}

void CTavrixDlg::OnLanguage(int languageIndex)
{
    if (languageIndex < 0 || languageIndex > kLanguageIndexLimit) {
        languageIndex = 0;
    }
    if (m_about) {
        controls::SendMessage(m_about, UM_LANG, kLangTag, languageIndex);
    }
    for (EditorPart* editor : {static_cast<EditorPart*>(m_parts.profileManager), m_parts.composite, m_parts.update}) {
        if (editor != nullptr) {
            editor->OnLanguage(languageIndex);
        }
    }
    if (m_parts.lighting != nullptr) {
        m_parts.lighting->SetLightingTexts(languageIndex);
    }
    StyleCornerButtons(languageIndex);
    static constexpr std::pair<int, const char*> kCaptions[] = {
        {kFirstProfileId, "PROFILE_1"},     {kFirstProfileId + 1, "PROFILE_2"},     {kFirstProfileId + 2, "PROFILE_3"},
        {kMacroButtonId, "PROFILE_MACRO"},  {kDefaultsButtonId, "PROFILE_DEFAULT"}, {skin::IDOK, "PROFILE_OK"},
        {skin::IDCANCEL, "PROFILE_CANCLE"}, {kApplyButtonId, "PROFILE_APPLY"},
    };
    for (const auto& [id, key] : kCaptions) {
        StyleCaption(id, key, languageIndex);
    }
}

void CTavrixDlg::CloseEditors()
{
    if (m_about) {
        m_about->close();
    }
    for (EditorPart* editor : {static_cast<EditorPart*>(m_parts.profileManager), m_parts.composite}) {
        if (editor != nullptr) {
            editor->CloseIfOpen();
        }
    }
}

void CTavrixDlg::ShowMainWindow()
{
    if (m_sync == nullptr || m_sync->LastDeviceCount() == 0) {
        // While the keyboard found at start is still being read the window is about to show
        // itself; telling the user there is no keyboard would be wrong.
        if (m_sync != nullptr && !app::IsStartHidden()) {
            return;
        }
        // One box at a time, however often the user asks while it is up.
        if (m_noKeyboardBoxUp) {
            return;
        }
        m_noKeyboardBoxUp = true;
        // Queued: the request may come from another instance, which waits for its answer and
        // must not wait for the user to read the message.
        QMetaObject::invokeMethod(
            this,
            [this] {
                controls::ActivePrompts().MessageBox(this,
                                                     {LangText("MAIN_NO_DEVICE_PROMPT"), LangText("MAIN_CAPTION")});
                m_noKeyboardBoxUp = false;
            },
            Qt::QueuedConnection);
        return;
    }
    setWindowFlag(Qt::Tool, false);
    showNormal();
    raise();
    activateWindow();
}

bool CTavrixDlg::OnCommand(int id)
{
    switch (id) {
    case kLinkButtonIds[0]:
        OpenLink(0);
        return true;
    case kLinkButtonIds[1]:
        OpenLink(1);
        return true;
    case kLinkButtonIds[2]:
        OpenLink(2);
        return true;
    case kProfilesButtonId:
        if (m_parts.profileManager != nullptr) {
            m_parts.profileManager->OpenFor(id);
        }
        return true;
    case kMacroButtonId:
        if (m_parts.composite != nullptr) {
            m_parts.composite->OpenFor(kGKeyIds.back());
        }
        return true;
    case skin::IDOK:
        ApplyChanges();
        hide();
        return true;
    case skin::IDCANCEL:
        hide();
        return true;
    case kHelpButtonId:
        OpenHelp();
        return true;
    case kCloseButtonId:
    case kCommandExit:
        ExitCommand();
        return true;
    case kMinimizeButtonId:
        showMinimized();
        return true;
    case kMenuButtonId:
        RunButtonMenu();
        return true;
    case kApplyButtonId:
        ApplyChanges();
        return true;
    case kDefaultsButtonId:
        RestoreDefaults();
        return true;
    case kCommandSystemAbout:
    case kCommandAbout:
        OpenAbout();
        return true;
    case kCommandOpen:
        ShowMainWindow();
        return true;
    case kCommandImport:
        ImportProfile();
        return true;
    case kCommandExport:
        ExportProfile();
        return true;
    case kCommandUpdate:
        if (m_parts.update != nullptr) {
            m_parts.update->OpenFor(id);
        }
        return true;
    default:
        return (m_parts.keyboard != nullptr && m_parts.keyboard->OnCommand(id)) ||
               (m_parts.lighting != nullptr && m_parts.lighting->OnCommand(id));
    }
}

controls::LParam CTavrixDlg::OnMessage(uint32_t message, controls::WParam wParam, controls::LParam lParam)
{
    const auto tagged = [wParam](uint32_t tag) { return wParam == tag; };
    switch (message) {
    case UM_OPEN:
        if (!tagged(kOpenRequestTag)) {
            return 0;
        }
        ShowMainWindow();
        return 1;
    case UM_KILL:
        if (!tagged(kKillRequestTag)) {
            return 0;
        }
        ExitCommand();
        return 1;
    case UM_INIT:
        if (!tagged(kInitTag)) {
            return 0;
        }
        OnInit();
        return 1;
    case UM_PROFILE:
        if (!tagged(kProfileTag)) {
            return 0;
        }
        OnProfile();
        return 1;
    case UM_GKEYS:
        if (!tagged(kGKeysTag)) {
            return 0;
        }
        if (m_parts.keyboard != nullptr) {
            m_parts.keyboard->RefreshGKeyMarks();
        }
        return 1;
    case UM_LANG:
        if (!tagged(kLangTag)) {
            return 0;
        }
        OnLanguage(static_cast<int>(lParam));
        return 1;
    case UM_CLOSE_EDITORS:
        if (!tagged(kCloseEditorsTag)) {
            return 0;
        }
        CloseEditors();
        return 1;
    case UM_SLIDER:
        if (m_parts.lighting != nullptr) {
            m_parts.lighting->OnSlider(static_cast<int>(wParam), static_cast<int>(lParam));
        }
        return 1;
    case WM_TIMECHANGE:
        ApplyChanges();
        return 1;
    default:
        return 0;
    }
}

void CTavrixDlg::OnTimer(int id)
{
    if (id == kTimerProgress) {
        m_progress->Advance();
        return;
    }
    if (id == kTimerLightingRefresh) {
        KillTimer(id);
        if (m_parts.lighting != nullptr && !m_closing) {
            m_parts.lighting->ReadLightingState(model::LightingRead::SettingsOnly);
        }
        return;
    }
    skin::CBaseDialog::OnTimer(id);
}

// The dialog never closes by the keyboard: OK and Cancel only come from their buttons.
void CTavrixDlg::OnOK()
{
}

void CTavrixDlg::OnCancel()
{
}

void CTavrixDlg::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_F1) {
        OpenHelp();
        event->accept();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        event->accept();
        return;
    }
    skin::CBaseDialog::keyPressEvent(event);
}

void CTavrixDlg::closeEvent(QCloseEvent* event)
{
    // A close from the window manager (Alt+F4, the window list) is the Cancel command: the
    // program goes on in the tray, and starting it again reopens the window.
    event->ignore();
    OnCommand(skin::IDCANCEL);
}

void CTavrixDlg::SetApplyEnabled(bool enabled)
{
    // Only a model read whole from the keyboard, or loaded whole by the user, is ever written:
    // until there is one, Apply stays off (the read's failure told the user why).
    m_applyEnabled = enabled && m_sync != nullptr && m_sync->IsModelWhole();
    RunOnWindowThread([this] {
        if (controls::CPngButton* apply = Button(kApplyButtonId)) {
            apply->setEnabled(m_applyEnabled);
        }
    });
}

void CTavrixDlg::SetTrayIconId(int iconId)
{
    if (iconId == m_trayIconId) {
        return;
    }
    m_trayIcon.SetIcon(iconId);
    m_trayIconId = iconId;
}

void CTavrixDlg::OnBankChanged(int)
{
    // Posted, not sent: the library's notification thread must never wait for this window. The
    // G-key marks read the bank from the link.
    PostMessage(UM_GKEYS, kGKeysTag, 0);
}

void CTavrixDlg::OnKeyboardLightingChanged()
{
    RunOnWindowThread([this] { SetTimer(kTimerLightingRefresh, 0); });
}

void CTavrixDlg::OnKeyboardBusy(bool busy)
{
    SetTrayIconId(busy ? kIconKeyboardBusy : m_connectionTrayIconId.load());
}

void CTavrixDlg::OnConnectionChanged(int deviceCount)
{
    if (m_closing || m_sync == nullptr) {
        return;
    }
    m_sync->OnConnectionChanged(deviceCount);
}

std::u16string CTavrixDlg::Text(std::string_view key) const
{
    return LangText(key).toStdU16String();
}

void CTavrixDlg::ShowMessage(const std::u16string& text)
{
    // A read cut short by the exit is no news for the user.
    if (m_closing || CaptureCtlMessage(text)) {
        return;
    }
    RunOnWindowThread([this, message = QString::fromStdU16String(text)] {
        controls::ActivePrompts().MessageBox(this, {message, QString()});
    });
}

bool CTavrixDlg::IsInitialisationComplete() const
{
    return m_initialisationComplete || m_closing;
}

void CTavrixDlg::OnKeyboardArrived()
{
    if (m_closing) {
        return;
    }
    // Read here, on the connection thread: the window never waits for the keyboard.
    m_sync->ReadKeyboardIntoModel(false);
    if (!m_closing) {
        SendMessage(UM_PROFILE, kProfileTag, 0);
    }
}

void CTavrixDlg::OnKeyboardRemoved()
{
    if (!m_closing) {
        SendMessage(UM_CLOSE_EDITORS, kCloseEditorsTag, 0);
    }
    RunOnWindowThread([this] { hide(); });
}

void CTavrixDlg::ShowConnected(bool connected)
{
    // Remembered: the icon comes back to it once the keyboard is no longer busy.
    m_connectionTrayIconId = connected ? kIconKeyboard : kIconNoKeyboard;
    SetTrayIconId(m_connectionTrayIconId);
}

void CTavrixDlg::ShowWindow()
{
    PostMessage(UM_OPEN, kOpenRequestTag, 0);
}

bool CTavrixDlg::IsStartHidden() const
{
    return app::IsStartHidden();
}

void CTavrixDlg::SetStartHidden()
{
    app::SetStartHidden(true);
}

void CTavrixDlg::OnModelReplaced()
{
    RefreshKeyMarks();
}

void CTavrixDlg::RefreshKeyMarks()
{
    RunOnWindowThread([this] {
        if (m_parts.keyboard != nullptr) {
            m_parts.keyboard->RefreshKeyMarks();
        }
    });
}

void CTavrixDlg::OnNothingToApply()
{
    SetApplyEnabled(false);
}

void CTavrixDlg::RunOnWindowThread(std::function<void()> work)
{
    if (QThread::currentThread() == thread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

void CTavrixDlg::StopDeviceLink()
{
    m_closing = true;
    if (m_link == nullptr) {
        return;
    }
    // Threads waiting for a reply or their turn would wait out the keyboard's timeouts once the
    // library has ended: they are told to give up first.
    m_link->Stop();
    if (m_service.End != nullptr) {
        m_service.End();
    }
    // The link's threads may be waiting for this window to handle a message: keep handling them
    // until every one of them has ended.
    std::atomic<bool> stopped{false};
    std::thread stopper([this, &stopped] {
        m_keyboardThread.Finish();
        m_link.reset();
        stopped = true;
    });
    while (!stopped) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        platform::SleepMs(1);
    }
    stopper.join();
}

controls::CPngButton* CTavrixDlg::Button(int id) const
{
    return GetDlgItem<controls::CPngButton>(id);
}

} // namespace tavrix::ui
