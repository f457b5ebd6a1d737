#pragma once

#include <QPixmap>
#include <QString>

#include "controls/png_button.h"
#include "ui/editors/editor_dialog.h"
#include "ui/main_window/window_parts.h"

// The firmware update: the user backs the configuration up, chooses the vendor's updater program,
// and Update puts the keyboard into its boot mode and starts the updater, which takes it from
// there. Reached from outside the program only ("tavrix /Update").
namespace tavrix::ui {

class CTavrixDlg;

// Control ids of the dialog.
inline constexpr int kUpdaterPathId = 1179;
inline constexpr int kUpdateOpenId = 1181;
inline constexpr int kUpdateBackupId = 1182;
inline constexpr int kUpdateStartId = 1147;
inline constexpr int kUpdateCancelId = 1180;

class CTavrix_DlgUpdate : public CEditorDialog, public EditorPart {
public:
    static constexpr int kTemplateId = 149;

    // window: the main window whose keyboard and model the dialog works on; it outlives the dialog.
    explicit CTavrix_DlgUpdate(CTavrixDlg& window);
    ~CTavrix_DlgUpdate() override;

    // EditorPart.
    void CloseIfOpen() override { Close(skin::IDCANCEL); }
    [[nodiscard]] bool IsOpen() const override { return IsRunning(); }
    void OnLanguage(int languageIndex) override;
    void OpenFor(int) override { (void)Open(); }

    bool OnCommand(int id) override;

    // The updater chosen; empty when none is.
    [[nodiscard]] const QString& UpdaterPath() const { return m_updaterPath; }

    // Whether path names a program the user may start: an absolute path to a regular file (links
    // followed) the user may execute.
    [[nodiscard]] static bool IsUpdaterFile(const QString& path);

protected:
    bool OnInitDialog() override;
    void MakeControls() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void PlaceControls();
    void SetTexts(int languageIndex);
    void ShowPath();
    void ShowMessage(const char* textKey);

    void ChooseUpdater();
    void Backup();
    void StartUpdate();
    void CancelUpdate();

    [[nodiscard]] controls::CPngButton* Button(int id) const;

    CTavrixDlg& m_window;
    QPixmap m_normal, m_over;
    QString m_updaterPath;
};

} // namespace tavrix::ui
