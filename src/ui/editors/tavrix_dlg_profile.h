#pragma once

#include <QPixmap>

#include "controls/png_button.h"
#include "ui/editors/editor_dialog.h"
#include "ui/main_window/window_parts.h"

class QTableView;

// The profile manager: the keyboard's three profiles, the current one marked, and the profile
// files the user keeps beside them. Apply makes the selected profile the keyboard's current one
// and reads the keyboard again.
namespace tavrix::ui {

class CTavrixDlg;
class ProfileListModel;

// Control ids of the dialog.
inline constexpr int kProfileListId = 1007;
inline constexpr int kProfileLoadId = 1008;
inline constexpr int kProfileAddId = 1010;
inline constexpr int kProfileDeleteId = 1011;
inline constexpr int kProfileApplyId = 1012;

class CTavrix_DlgProfile : public CEditorDialog, public ProfileManagerPart {
public:
    static constexpr int kTemplateId = 131;

    // window: the main window whose profiles the dialog manages; it outlives the dialog.
    explicit CTavrix_DlgProfile(CTavrixDlg& window);
    ~CTavrix_DlgProfile() override;

    // ProfileManagerPart.
    void CloseIfOpen() override { Close(skin::IDCANCEL); }
    [[nodiscard]] bool IsOpen() const override { return IsRunning(); }
    void OnLanguage(int languageIndex) override;
    void OpenFor(int) override { (void)Open(); }
    [[nodiscard]] bool HasUnappliedChanges() const override;
    void OnProfileSwitched(int profile) override;

    bool OnCommand(int id) override;

    [[nodiscard]] const ProfileListModel& ListModel() const { return *m_model; }
    [[nodiscard]] QTableView& ListView() const { return *m_view; }
    // The selected row, or -1.
    [[nodiscard]] int SelectedRow() const;

protected:
    bool OnInitDialog() override;
    void MakeControls() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void PlaceControls();
    void SetTexts(int languageIndex);
    void SelectRow(int row);
    void SetDialogApplyEnabled(bool enabled);

    void Add();
    void Load();
    void Delete();
    void Apply();
    void WriteSettings() const;

    [[nodiscard]] controls::CPngButton* Button(int id) const;

    CTavrixDlg& m_window;
    QPixmap m_normal, m_over, m_down;
    ProfileListModel* m_model = nullptr;
    QTableView* m_view = nullptr;
};

} // namespace tavrix::ui
