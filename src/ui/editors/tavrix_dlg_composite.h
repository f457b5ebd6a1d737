#pragma once

#include <QPixmap>
#include <cstddef>

#include "controls/png_button.h"
#include "skin/base_dialog.h"
#include "ui/editors/composite_state.h"
#include "ui/editors/key_capture_filter.h"
#include "ui/editors/macro_page.h"
#include "ui/main_window/window_parts.h"

class QComboBox;

// The key-assignment dialog: the one editor through which a user changes what a key or G-key of
// the current profile does. Its four pages assign a key (captured by pressing it) or a mouse
// button, a macro, a media key or a keyboard function. It edits the model only; the main
// window's Apply sends the model to the keyboard.
namespace tavrix::ui {

class CTavrixDlg;

// Control ids of the dialog (the macro page's are in macro_page.h).
inline constexpr int kCompositeApplyId = 1015;
inline constexpr int kKeyPageId = 1028;
inline constexpr int kMacroPageId = 1029;
inline constexpr int kMediaPageId = 1030;
inline constexpr int kFunctionPageId = 1031;
inline constexpr int kClearId = 1032;
inline constexpr int kMaskId = 1033;
inline constexpr int kKeyEditId = 1127;
inline constexpr int kMediaListId = 1128;
inline constexpr int kFunctionListId = 1129;
inline constexpr int kTitleId = 1131;
inline constexpr int kOnScreenKeyboardId = 1132;
inline constexpr int kKeyboardModeId = 1185;
inline constexpr int kMouseModeId = 1186;
inline constexpr int kMouseListId = 1187;

class Tavrix_DlgComposite : public skin::CBaseDialog, public EditorPart {
public:
    static constexpr int kTemplateId = 134;

    // window: the main window the dialog edits keys of; it outlives the dialog.
    explicit Tavrix_DlgComposite(CTavrixDlg& window);
    ~Tavrix_DlgComposite() override;

    // Runs the dialog modally for a key or G-key button of the main window (G9 opens the macro
    // editor): the result it closed with, or -1 for any other control and while no profile of
    // the keyboard is known.
    int OpenForKey(int buttonId);

    // EditorPart.
    void CloseIfOpen() override;
    [[nodiscard]] bool IsOpen() const override { return m_openCount > 0; }
    void OnLanguage(int languageIndex) override;
    void OpenFor(int controlId) override { (void)OpenForKey(controlId); }

    bool OnCommand(int id) override;
    controls::LParam OnMessage(uint32_t message, controls::WParam wParam, controls::LParam lParam) override;

    [[nodiscard]] const CompositeState& State() const { return m_state; }
    [[nodiscard]] bool IsCapturing() const { return m_capture.IsStarted(); }
    [[nodiscard]] bool IsRecording() const { return m_macroPage.IsRecording(); }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // One picture set of the dialog, as state sheets.
    struct SheetSet {
        QPixmap normal, over, down, disabled;
    };

    void MakeSheets();
    void MakeControls();
    void PlaceControls();
    void FillLists();
    void SetTexts(int languageIndex);
    void PlaceDialog();

    void ShowPage(bool fromModel);
    void Render();
    void UpdateCapture();
    void OnCapture(uint16_t code);
    void ChoosePage(Page page);
    void Clear();
    void SetMouseMode(bool mouse);
    void Apply();
    void Close(int result);
    void StartOnScreenKeyboard();

    [[nodiscard]] PageChoices Choices() const;
    [[nodiscard]] controls::ButtonSheets ButtonSheetsOf(const SheetSet& set) const;
    [[nodiscard]] controls::CPngButton* Button(int id) const;
    [[nodiscard]] QComboBox* List(int id) const;

    CTavrixDlg& m_window;
    SheetSet m_keySet, m_macroSet, m_macro2Set, m_mediaSet, m_functionSet;
    bool m_controlsMade = false;
    int m_openCount = 0;

    int m_buttonId = 0;
    int m_profile = -1;
    size_t m_slot = 0;
    CompositeState m_state;
    MacroPage m_macroPage;
    KeyCaptureFilter m_capture;
    // The key page takes the keyboard once the display shows the window, one try per showing.
    bool m_grabPending = false;
    bool m_keyboardGrabbed = false;
};

} // namespace tavrix::ui
