#include "ui/editors/tavrix_dlg_profile.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <array>

#include "controls/caption_style.h"
#include "controls/control_id.h"
#include "controls/prompts.h"
#include "device/commands.h"
#include "model/profile_file.h"
#include "platform/app_profile.h"
#include "skin/language.h"
#include "skin/skin_placement.h"
#include "skin/state_sheet.h"
#include "ui/editors/editor_style.h"
#include "ui/editors/profile_list_model.h"
#include "ui/main_window/lang_text.h"
#include "ui/main_window/tavrix_dlg.h"

namespace tavrix::ui {

namespace {

const char* const kSection = "BUTTONINFO";
const char* const kSettingsSection = "PROFILES";

struct SkinButton {
    int id;
    const char* skinKey;
    const char* textKey;
};

constexpr std::array<SkinButton, 6> kButtons{{
    {kProfileAddId, "FUNC_ADD", "PROFILE_ADD"},
    {kProfileLoadId, "FUNC_LOAD", "PROFILE_LOAD"},
    {kProfileDeleteId, "FUNC_DELETE", "PROFILE_DELETE"},
    {skin::IDOK, "CONTROL_OK", "PROFILE_OK"},
    {skin::IDCANCEL, "CONTROL_CANCEL", "PROFILE_CANCLE"},
    {kProfileApplyId, "CONTROL2_APPLY", "PROFILE_APPLY"},
}};

constexpr std::array<int, ProfileListModel::kColumnCount> kColumnWidths{60, 120, 230};

// The manager keeps its profile files in the program's data folder.
controls::FileRequest ProfileFileIn(bool save)
{
    return ProfileFileRequest(save, QString::fromStdString(model::DataFolder().string()));
}

} // namespace

CTavrix_DlgProfile::CTavrix_DlgProfile(CTavrixDlg& window)
    : CEditorDialog(kTemplateId, nullptr, window.Paths().profileSkinFile, window.Paths().profileSkinFolder),
      m_window(window)
{
}

CTavrix_DlgProfile::~CTavrix_DlgProfile() = default;

// Every opening lists the profiles afresh.
bool CTavrix_DlgProfile::OnInitDialog()
{
    CEditorDialog::OnInitDialog();
    PlaceControls();
    // As last learnt: the list opens without waiting for the keyboard.
    const int current = m_window.CurrentProfile();
    m_model->Open(device::kProfileCount, model::CacheFilePath(), current);
    SelectRow(m_model->List().RowOf(current));
    SetDialogApplyEnabled(false);
    SetTexts(skin::GetLanguageIndex());
    return true;
}

void CTavrix_DlgProfile::MakeControls()
{
    const std::string& folder = m_window.Paths().exeFolder;
    skin::MakeStateSheet(m_normal, skin::LoadSkinImage(folder, "Skins\\Profile_normal.jpg"), *this);
    skin::MakeStateSheet(m_over, skin::LoadSkinImage(folder, "Skins\\Profile_over.jpg"), *this);
    skin::MakeStateSheet(m_down, skin::LoadSkinImage(folder, "Skins\\Profile_down.jpg"), *this);
    for (const SkinButton& entry : kButtons) {
        auto* button = new controls::CPngButton(entry.id, this);
        button->SetTextStyle(true, 9, controls::kSkinCaptionFace, controls::kSkinCaptionColors,
                             controls::kCentredCaption);
    }
    m_model = new ProfileListModel(this);
    m_view = new QTableView(this);
    controls::SetDlgCtrlID(*m_view, kProfileListId);
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setShowGrid(true);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->setFont(EditorFont(10, *this));
    StyleEditorControl(*m_view);
    for (int column = 0; column < ProfileListModel::kColumnCount; ++column) {
        m_view->setColumnWidth(column, kColumnWidths[static_cast<size_t>(column)]);
    }
    // Choosing another profile is a change Apply carries out.
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& row) {
        if (row.isValid() && !m_model->List().IsActive(row.row())) {
            SetDialogApplyEnabled(true);
        }
    });
}

void CTavrix_DlgProfile::PlaceControls()
{
    // The down picture serves as the disabled look too.
    const controls::ButtonSheets sheets{&m_normal, &m_over, &m_down, &m_down, &m_normal};
    for (const SkinButton& entry : kButtons) {
        skin::PlaceSkinButton(*Button(entry.id), SkinIniPath(), kSection, entry.skinKey, sheets);
    }
    skin::PlaceSkinControl(*m_view, SkinIniPath(), kSection, "PROGRAM_LIST");
}

void CTavrix_DlgProfile::SetTexts(int languageIndex)
{
    for (const SkinButton& entry : kButtons) {
        Button(entry.id)->setText(LangText(entry.textKey, languageIndex));
    }
    m_model->SetTexts({LangText("PROFILE_LIST_ACTIVE", languageIndex), LangText("PROFILE_LIST_NAME", languageIndex),
                       LangText("PROFILE_LIST_PATH", languageIndex)},
                      [languageIndex](int profile) { return ProfileLabel(profile, languageIndex); });
    setWindowTitle(LangText("PROFILE_MANAGER_TITLE", languageIndex));
}

void CTavrix_DlgProfile::OnLanguage(int languageIndex)
{
    // A closed dialog takes the language when it next opens.
    if (IsOpen()) {
        SetTexts(languageIndex);
    }
}

int CTavrix_DlgProfile::SelectedRow() const
{
    const QModelIndexList rows = m_view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

void CTavrix_DlgProfile::SelectRow(int row)
{
    // Selecting from here is no choice of the user's: Apply keeps its state.
    const bool applyEnabled = Button(kProfileApplyId)->isEnabled();
    if (row < 0 || row >= m_model->rowCount()) {
        m_view->clearSelection();
    } else {
        m_view->selectRow(row);
    }
    SetDialogApplyEnabled(applyEnabled);
}

void CTavrix_DlgProfile::SetDialogApplyEnabled(bool enabled)
{
    Button(kProfileApplyId)->setEnabled(enabled);
}

bool CTavrix_DlgProfile::HasUnappliedChanges() const
{
    return IsOpen() && Button(kProfileApplyId)->isEnabled();
}

void CTavrix_DlgProfile::OnProfileSwitched(int profile)
{
    if (!IsOpen()) {
        return;
    }
    m_model->SetActiveProfile(profile);
    SelectRow(m_model->List().RowOf(profile));
    SetDialogApplyEnabled(false);
}

void CTavrix_DlgProfile::Add()
{
    controls::FileRequest request = ProfileFileIn(true);
    request.initialName = LangText("PROFILE_NEW");
    const std::optional<QString> chosen = controls::ActivePrompts().SaveFileName(this, request);
    // A file that could not be written gets no row: there would be nothing to load from it.
    if (!chosen || !model::WriteNewModelFile(chosen->toStdString(), 0)) {
        return;
    }
    m_model->AddFile(chosen->toStdString());
    SetDialogApplyEnabled(true);
}

void CTavrix_DlgProfile::Load()
{
    const std::optional<QString> chosen = controls::ActivePrompts().OpenFileName(this, ProfileFileIn(false));
    if (!chosen) {
        return;
    }
    m_model->AddFile(chosen->toStdString());
    SetDialogApplyEnabled(true);
}

void CTavrix_DlgProfile::Delete()
{
    const int row = SelectedRow();
    if (row < 0) {
        return;
    }
    SelectRow(m_model->Delete(row));
    SetDialogApplyEnabled(true);
}

void CTavrix_DlgProfile::Apply()
{
    // Reading the keyboard replaces the model: changes of the main window not yet written would
    // be lost without a word.
    if (m_window.IsApplyEnabled()) {
        const controls::MessageBoxRequest request{LangText("PROFILE_SELECT_PROMPT"), QString(),
                                                  controls::PromptButtons::YesNo, controls::PromptResult::Yes};
        if (controls::ActivePrompts().MessageBox(this, request) == controls::PromptResult::Yes) {
            m_window.ApplyChanges();
        }
    }
    WriteSettings();
    const int row = SelectedRow();
    // A file's row names no profile of the keyboard, which then stays as it is.
    const int chosen = row >= 0 ? m_model->List().Row(row).profile : -1;
    int current = -1;
    m_window.RunKeyboardWork([&] {
        device::CommandSet& commands = m_window.Commands();
        commands.SetCurrentProfile(chosen);
        m_window.Sync().ReadKeyboardIntoModel(true);
        current = commands.GetCurrentProfile();
    });
    m_window.ShowCurrentProfile();
    m_model->SetActiveProfile(current);
    SetDialogApplyEnabled(false);
    m_window.SetApplyEnabled(false);
}

void CTavrix_DlgProfile::WriteSettings() const
{
    for (const auto& [name, value] : m_model->List().SettingsValues()) {
        (void)platform::WriteProfileString(kSettingsSection, name, value);
    }
}

void CTavrix_DlgProfile::OnOK()
{
    Close(skin::IDOK);
}

void CTavrix_DlgProfile::OnCancel()
{
    Close(skin::IDCANCEL);
}

bool CTavrix_DlgProfile::OnCommand(int id)
{
    switch (id) {
    case kProfileAddId:
        Add();
        return true;
    case kProfileLoadId:
        Load();
        return true;
    case kProfileDeleteId:
        Delete();
        return true;
    case kProfileApplyId:
        Apply();
        return true;
    case skin::IDOK:
        OnOK();
        return true;
    case skin::IDCANCEL:
        OnCancel();
        return true;
    default:
        return false;
    }
}

controls::CPngButton* CTavrix_DlgProfile::Button(int id) const
{
    return GetDlgItem<controls::CPngButton>(id);
}

} // namespace tavrix::ui
