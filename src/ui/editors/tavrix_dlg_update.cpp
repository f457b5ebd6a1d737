#include "ui/editors/tavrix_dlg_update.h"

#include <QFileInfo>
#include <array>
#include <filesystem>

#include "controls/caption_style.h"
#include "controls/color_static.h"
#include "controls/prompts.h"
#include "device/protocol.h"
#include "platform/shell_open.h"
#include "skin/language.h"
#include "skin/skin_placement.h"
#include "skin/state_sheet.h"
#include "ui/editors/editor_style.h"
#include "ui/main_window/lang_text.h"
#include "ui/main_window/tavrix_dlg.h"

namespace tavrix::ui {

namespace {

const char* const kSection = "BUTTONINFO";

struct SkinButton {
    int id;
    const char* skinKey;
    const char* textKey;
};

constexpr std::array<SkinButton, 4> kButtons{{
    {kUpdateOpenId, "CONTROL_OPENButton", "UPDATE_OPEN"},
    {kUpdateBackupId, "CONTROL_BACKUPButton", "UPDATE_BACKUP"},
    {kUpdateStartId, "CONTROL_UPButton", "UPDATE_START"},
    {kUpdateCancelId, "CONTROL_CUPButton", "UPDATE_CANCEL"},
}};

} // namespace

CTavrix_DlgUpdate::CTavrix_DlgUpdate(CTavrixDlg& window)
    : CEditorDialog(kTemplateId, nullptr, window.Paths().updateSkinFile, window.Paths().updateSkinFolder),
      m_window(window)
{
}

CTavrix_DlgUpdate::~CTavrix_DlgUpdate() = default;

bool CTavrix_DlgUpdate::IsUpdaterFile(const QString& path)
{
    const QFileInfo file(path);
    return file.isAbsolute() && file.isFile() && file.isExecutable();
}

bool CTavrix_DlgUpdate::OnInitDialog()
{
    CEditorDialog::OnInitDialog();
    PlaceControls();
    SetTexts(skin::GetLanguageIndex());
    ShowPath();
    return true;
}

void CTavrix_DlgUpdate::MakeControls()
{
    const std::string& folder = m_window.Paths().exeFolder;
    skin::MakeStateSheet(m_normal, skin::LoadSkinImage(folder, "Skins\\update_normal.jpg"), *this);
    skin::MakeStateSheet(m_over, skin::LoadSkinImage(folder, "Skins\\update_over.jpg"), *this);
    for (const SkinButton& entry : kButtons) {
        auto* button = new controls::CPngButton(entry.id, this);
        button->SetTextStyle(true, 9, controls::kSkinCaptionFace, controls::kSkinCaptionColors,
                             controls::kCentredCaption);
    }
    auto* path = new controls::ColorStatic(kUpdaterPathId, this);
    path->SetLabelColor(kEditorLabelColor);
    path->setFont(EditorFont(9, *this));
    path->setIndent(6);
}

void CTavrix_DlgUpdate::PlaceControls()
{
    // The over picture serves every state but the normal one.
    const controls::ButtonSheets sheets{&m_normal, &m_over, &m_over, &m_over, &m_over};
    for (const SkinButton& entry : kButtons) {
        skin::PlaceSkinButton(*Button(entry.id), SkinIniPath(), kSection, entry.skinKey, sheets);
    }
    skin::PlaceSkinControl(*GetDlgItem(kUpdaterPathId), SkinIniPath(), kSection, "CONTROL_UPStatic");
}

void CTavrix_DlgUpdate::SetTexts(int languageIndex)
{
    for (const SkinButton& entry : kButtons) {
        Button(entry.id)->setText(LangText(entry.textKey, languageIndex));
    }
    setWindowTitle(LangText("MENU_4", languageIndex));
}

void CTavrix_DlgUpdate::OnLanguage(int languageIndex)
{
    // A closed dialog takes the language when it next opens.
    if (IsOpen()) {
        SetTexts(languageIndex);
    }
}

// A long path keeps its start and the program's name.
void CTavrix_DlgUpdate::ShowPath()
{
    auto* label = GetDlgItem<controls::ColorStatic>(kUpdaterPathId);
    const int room = label->contentsRect().width() - label->indent();
    label->setText(label->fontMetrics().elidedText(m_updaterPath, Qt::ElideMiddle, room));
    label->setToolTip(m_updaterPath);
    update();
}

void CTavrix_DlgUpdate::ShowMessage(const char* textKey)
{
    controls::ActivePrompts().MessageBox(this, {LangText(textKey), QString()});
}

void CTavrix_DlgUpdate::ChooseUpdater()
{
    controls::FileRequest request;
    request.filter = LangText("FILE_FILTER_ALL") + "|*||";
    request.folder = QString::fromStdString(m_window.Paths().packageFolder);
    const std::optional<QString> chosen = controls::ActivePrompts().OpenFileName(this, request);
    if (!chosen) {
        return;
    }
    // Only a program can be started; anything else is refused now rather than when it is too late.
    if (!IsUpdaterFile(*chosen)) {
        ShowMessage("UPDATE_NO_FILE");
        return;
    }
    m_updaterPath = *chosen;
    ShowPath();
}

void CTavrix_DlgUpdate::Backup()
{
    const std::optional<QString> chosen =
        controls::ActivePrompts().SaveFileName(this, ProfileFileRequest(true, QString()));
    if (!chosen) {
        return;
    }
    ShowMessage(m_window.Sync().Editor().SaveToFile(chosen->toStdString()) == 1 ? "UPDATE_BACKUP_OK"
                                                                                : "UPDATE_BACKUP_FAILED");
}

void CTavrix_DlgUpdate::StartUpdate()
{
    // The file may have gone or lost its permission since it was chosen.
    if (!IsUpdaterFile(m_updaterPath)) {
        ShowMessage("UPDATE_NO_FILE");
        return;
    }
    if (m_window.Commands().EnterBootMode() != device::kResultOk) {
        ShowMessage("UPDATE_NO_BOOT_MODE");
        return;
    }
    const std::string program = m_updaterPath.toStdString();
    m_updaterPath.clear();
    ShowPath();
    // Started directly, never through a shell, in its own folder, where an updater finds its
    // firmware files.
    const std::string folder = std::filesystem::path(program).parent_path().string();
    if (!platform::ShellOpen({program, {}, platform::ShowMode::Normal, folder})) {
        ShowMessage("UPDATE_CANNOT_RUN");
        return;
    }
    Close(skin::IDOK);
}

void CTavrix_DlgUpdate::CancelUpdate()
{
    m_updaterPath.clear();
    Close(skin::IDCANCEL);
}

// Enter starts nothing: the update begins only from its button.
void CTavrix_DlgUpdate::OnOK()
{
}

void CTavrix_DlgUpdate::OnCancel()
{
    CancelUpdate();
}

bool CTavrix_DlgUpdate::OnCommand(int id)
{
    switch (id) {
    case kUpdateOpenId:
        ChooseUpdater();
        return true;
    case kUpdateBackupId:
        Backup();
        return true;
    case kUpdateStartId:
        StartUpdate();
        return true;
    case kUpdateCancelId:
        CancelUpdate();
        return true;
    default:
        return false;
    }
}

controls::CPngButton* CTavrix_DlgUpdate::Button(int id) const
{
    return GetDlgItem<controls::CPngButton>(id);
}

} // namespace tavrix::ui
