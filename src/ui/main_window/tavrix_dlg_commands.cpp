#include <QCursor>
#include <QEventLoop>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <array>
#include <filesystem>

#include "controls/caption_style.h"
#include "controls/prompts.h"
#include "model/key_code.h"
#include "model/profile_file.h"
#include "model/text_format.h"
#include "platform/clock.h"
#include "platform/shell_open.h"
#include "skin/language.h"
#include "skin/skin_placement.h"
#include "ui/main_window/custom_messages.h"
#include "ui/main_window/key_layout.h"
#include "ui/main_window/lang_text.h"
#include "ui/main_window/tavrix_dlg.h"

// The main window's buttons and what they run: apply, import, export, restore defaults, help,
// links, the about box and the exit.
namespace tavrix::ui {

namespace {

const char* const kSection = "BUTTONINFO";
constexpr unsigned kProfilesFormat = 0x28;
constexpr unsigned kVersionFormat = 0x24;
constexpr int kProfilesRotation = 268;

// A message about a file, naming it.
void TellAboutFile(CTavrixDlg& dlg, std::string_view key, const std::filesystem::path& path)
{
    dlg.ShowMessage(model::FormatWithText(dlg.Text(key), model::PathText(path)));
}

} // namespace

controls::FileRequest ProfileFileRequest(bool save, const QString& folder)
{
    controls::FileRequest request;
    request.filter = LangText("FILE_FILTER_PROFILE") + "|*.fwc|" + LangText("FILE_FILTER_ALL") + "|*||";
    request.defaultExtension = QStringLiteral("fwc");
    request.initialName = QStringLiteral("*.fwc");
    request.folder = folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) : folder;
    request.overwritePrompt = save;
    return request;
}

// Sheets by state, normal, over, down, disabled, selected: N normal, O over, D down, X disabled.
struct CTavrixDlg::WindowButton {
    int id;
    const char* key;
    const char* sheets;
};

controls::ButtonSheets CTavrixDlg::SheetsFor(const char* pattern) const
{
    const auto pick = [this](char letter) -> const QPixmap* {
        switch (letter) {
        case 'O':
            return &m_sheets.over;
        case 'D':
            return &m_sheets.down;
        case 'X':
            return &m_sheets.disabled;
        default:
            return &m_sheets.normal;
        }
    };
    return {pick(pattern[0]), pick(pattern[1]), pick(pattern[2]), pick(pattern[3]), pick(pattern[4])};
}

void CTavrixDlg::PlaceWindowButtons()
{
    // clang-format off
    static constexpr WindowButton kButtons[] = {
        {kLinkButtonIds[0], "OSTRIM_LINK", "NOXNN"},
        {kLinkButtonIds[1], "FACEBOOK_LINK", "NOXNN"},
        {kLinkButtonIds[2], "TWITTER_LINK", "NOXNN"},
        {kProfilesButtonId, "FUNC_PROFILES", "NODNN"},
        {kMacroButtonId, "FUNC_MACRO", "NODNN"},
        {skin::IDOK, "CONTROL_OK", "NODNN"},
        {skin::IDCANCEL, "CONTROL_CANCEL", "NODNN"},
        {kHelpButtonId, "CONTROL_HELP", "NODNN"},
        {kCloseButtonId, "CONTROL_CLOSE", "NODNN"},
        {kMinimizeButtonId, "CONTROL_MINIMIZE", "NODNN"},
        {kMenuButtonId, "CONTROL_MENU", "NODNN"},
        {kApplyButtonId, "CONTROL2_APPLY", "NODXN"},
        {kVersionButtonId, "OSTRIM_VER", "NNNNN"},
        {kDefaultsButtonId, "FUNC_DEFAULT", "NODNX"},
        {kSwitchButtonId, "FUNC_SWITCH", "NODNX"},
        {kFirstProfileId, "FUNC_PROFILE1", "NODND"},
        {kFirstProfileId + 1, "FUNC_PROFILE2", "NODND"},
        {kFirstProfileId + 2, "FUNC_PROFILE3", "NODND"},
    };
    // clang-format on
    for (const WindowButton& entry : kButtons) {
        auto* button = new controls::CPngButton(entry.id, this);
        skin::PlaceSkinButton(*button, SkinIniPath(), kSection, entry.key, SheetsFor(entry.sheets));
    }
    for (std::size_t i = 0; i < kLinkButtonIds.size(); ++i) {
        Button(kLinkButtonIds[i])->SetTooltipText(QString::fromStdString(m_links[i]), true);
    }
    Button(kHelpButtonId)->SetTooltipText(LangText("MAIN_HELP_PROMPT"), true);
    StyleCornerButtons(skin::GetLanguageIndex());

    controls::CPngButton* profiles = Button(kProfilesButtonId);
    profiles->SetTextRotation(kProfilesRotation, true);
    profiles->SetTextStyle(true, 10, controls::kSkinCaptionFace, controls::kSkinCaptionColors, kProfilesFormat);

    controls::CPngButton* version = Button(kVersionButtonId);
    version->setText(QString());
    version->SetTextStyle(true, 8, QStringLiteral("Verdana Unicode MS"), controls::kSkinCaptionColors, kVersionFormat);
    version->setEnabled(false);

    Button(kSwitchButtonId)->hide();
}

void CTavrixDlg::StyleCornerButtons(int languageIndex)
{
    static constexpr std::pair<int, const char*> kTooltips[] = {{kMinimizeButtonId, "MAIN_MINIMIZE_PROMPT"},
                                                                {kMenuButtonId, "MAIN_MENU_PROMPT"},
                                                                {kCloseButtonId, "MAIN_CLOSE_PROMPT"}};
    for (const auto& [id, key] : kTooltips) {
        controls::CPngButton* button = Button(id);
        button->SetTextStyle(false, 10, controls::kSkinCaptionFace, controls::kSkinCaptionColors,
                             controls::kCentredCaption);
        button->SetTooltipText(LangText(key, languageIndex), true);
    }
}

void CTavrixDlg::StyleCaption(int id, const char* textKey, int languageIndex)
{
    controls::CPngButton* button = Button(id);
    button->setText(LangText(textKey, languageIndex));
    button->SetTextStyle(true, 10, controls::kSkinCaptionFace, controls::kSkinCaptionColors, controls::kCentredCaption);
}

void CTavrixDlg::OpenLink(int index)
{
    (void)platform::ShellOpen({m_links[static_cast<size_t>(index)], {}, platform::ShowMode::Normal});
}

void CTavrixDlg::OpenHelp()
{
    (void)platform::ShellOpen({m_paths.helpFolder + "index.html", {}, platform::ShowMode::Normal});
}

void CTavrixDlg::OpenAbout()
{
    if (m_about) {
        m_about->raise();
        return;
    }
    m_about = new CAboutDlg(QString::fromStdString(SiteLink()), [this] { OpenHelp(); });
    m_about->show();
}

void CTavrixDlg::RunButtonMenu()
{
    const std::vector<controls::MenuItem> items{{kCommandImport, LangText("MENU_1")},
                                                {kCommandExport, LangText("MENU_2")},
                                                {kCommandAbout, LangText("MENU_3")}};
    const int chosen = controls::ActivePrompts().PopupMenu(this, QCursor::pos(), items);
    if (chosen != 0) {
        OnCommand(chosen);
    }
}

void CTavrixDlg::RunKeyboardWork(const std::function<void()>& work)
{
    // The keyboard takes a while; the window keeps painting and the progress keeps turning.
    QEventLoop loop;
    m_keyboardThread.Post([&] {
        work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void CTavrixDlg::ApplyChanges()
{
    if (m_applying || m_sync == nullptr) {
        return;
    }
    m_applying = true;
    ++m_progressRun;
    m_progress->Start();
    SetTimer(kTimerProgress, kProgressPeriodMs);
    if (IsApplyEnabled()) {
        model::DeviceSync::ApplyResult applied;
        RunKeyboardWork([&] { applied = m_sync->SaveAndApply(false); });
        if (applied.saved && applied.written) {
            SetApplyEnabled(false);
        }
    }
    const auto delay =
        std::chrono::duration_cast<std::chrono::milliseconds>(platform::ScaledDuration(kProgressLingerMs));
    QTimer::singleShot(delay, this, [this, run = m_progressRun] {
        if (run == m_progressRun) {
            FinishProgress();
        }
    });
    m_applying = false;
}

void CTavrixDlg::FinishProgress()
{
    KillTimer(kTimerProgress);
    m_progress->hide();
}

void CTavrixDlg::ImportProfile()
{
    const std::optional<QString> chosen =
        controls::ActivePrompts().OpenFileName(this, ProfileFileRequest(false, m_profileFolder));
    if (!chosen) {
        return;
    }
    m_profileFolder = QFileInfo(*chosen).absolutePath();
    const std::filesystem::path path = chosen->toStdString();
    if (model::ValidateProfileFile(path, *this) != model::kProfileValid) {
        TellAboutFile(*this, "MAIN_PROMPT_INPORT", path);
        return;
    }
    bool refused = false;
    model::DeviceSync::ApplyResult restored;
    RunKeyboardWork([&] {
        // Nothing is loaded that could not be written: the keys need the default key table.
        refused = !m_sync->CanWriteKeyTables();
        if (!refused) {
            restored = m_sync->RestoreFromFile(path);
        }
    });
    if (refused) {
        return;
    }
    if (!restored.loaded) {
        TellAboutFile(*this, "MAIN_PROMPT_INPORT", path);
        return;
    }
    RefreshKeyMarks();
    if (!restored.written) {
        TellAboutFile(*this, "MAIN_IMPORT_NOT_WRITTEN_PROMPT", path);
        SetApplyEnabled(true);
        return;
    }
    // As after an apply: there is nothing left to apply once the cache file holds it too.
    SetApplyEnabled(!restored.saved);
}

void CTavrixDlg::ExportProfile()
{
    const std::optional<QString> chosen =
        controls::ActivePrompts().SaveFileName(this, ProfileFileRequest(true, m_profileFolder));
    if (!chosen) {
        return;
    }
    m_profileFolder = QFileInfo(*chosen).absolutePath();
    const std::filesystem::path path = chosen->toStdString();
    if (m_sync->Editor().SaveToFile(path) == 0) {
        TellAboutFile(*this, "MAIN_EXPORT_FAILED_PROMPT", path);
    }
}

void CTavrixDlg::RestoreDefaults()
{
    controls::MessageBoxRequest request{LangText("MAIN_PROMPT_DEFAULT"), QString(), controls::PromptButtons::YesNo,
                                        controls::PromptResult::No};
    if (controls::ActivePrompts().MessageBox(this, request) != controls::PromptResult::Yes) {
        return;
    }
    // What cannot be written is not cleared either; the user is told why. Without a known current
    // profile there is no block to clear and nothing to write.
    bool writable = false;
    int profile = -1;
    RunKeyboardWork([&] {
        writable = m_sync->CanWriteModel();
        profile = m_commands->GetCurrentProfile();
    });
    if (!writable || profile < 0) {
        return;
    }
    ClearCurrentProfileKeys(profile);
    SetApplyEnabled(true);
    if (m_parts.lighting != nullptr && m_parts.lighting->IsLightingEditOn()) {
        m_parts.lighting->ResetLightingDefaults();
    }
    ApplyChanges();
}

void CTavrixDlg::ClearCurrentProfileKeys(int profile)
{
    // The G-keys of the active bank and the drawn keys; the other bank keeps its keys.
    std::vector<std::size_t> cleared;
    const auto bank = static_cast<model::GKeyBank>(ActiveBank());
    for (std::size_t gKey = 0; gKey < kGKeyIds.size(); ++gKey) {
        cleared.push_back(model::GKeySlot(bank, gKey));
    }
    for (const DrawnKey& key : DrawnKeys()) {
        cleared.push_back(model::KeyIndexOf(key.keyCode));
    }
    (void)m_sync->Editor().ClearProfileKeys(profile, cleared);
    if (m_parts.keyboard != nullptr) {
        m_parts.keyboard->ShowKeysCleared();
    }
}

void CTavrixDlg::ExitCommand()
{
    hide();
    ExitRoutine();
    if (m_endRun) {
        m_endRun();
    }
}

bool CTavrixDlg::ExitRoutine()
{
    if (m_exited) {
        return true;
    }
    m_exited = true;
    // From here on no thread waits for the keyboard: the program is ending.
    m_closing = true;
    if (m_link != nullptr) {
        m_link->Stop();
    }
    CloseEditors();
    if (m_parts.update != nullptr) {
        m_parts.update->CloseIfOpen();
    }
    if (m_releaseInstance) {
        m_releaseInstance();
    }
    m_trayIcon.Delete();
    m_trayIconId = 0;
    SetApplyEnabled(false);
    if (m_sync != nullptr) {
        m_sync->FreeModel();
    }
    return true;
}

} // namespace tavrix::ui
