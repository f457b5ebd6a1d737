#pragma once

#include <functional>
#include <string>

#include "controls/png_button.h"
#include "ui/editors/composite_state.h"
#include "ui/editors/macro_list.h"

class QComboBox;
class QLineEdit;
class QStandardItemModel;
class QTableView;
class QWidget;

namespace tavrix::model {
class ModelEditor;
}

// The macro page of the key-assignment dialog: its controls, the working copy of the macro store
// and which macro is shown. The dialog creates it once, places and shows it with the page, asks
// it what to assign and has it commit the macros on Apply.
namespace tavrix::ui {

// Control ids of the macro page.
inline constexpr int kRepeatCountId = 1125;
inline constexpr int kMacroListId = 1126;
inline constexpr int kActionListId = 1019;
inline constexpr int kAddMacroId = 1017;
inline constexpr int kDeleteMacroId = 1018;
inline constexpr int kRecordId = 1020;
inline constexpr int kRecordDelayId = 1027;
inline constexpr int kRepeatLabelId = 1130;
inline constexpr int kRecordDelayLabelId = 1133;
inline constexpr int kMacroListLabelId = 1200;

class MacroPage {
public:
    // dialog: the window the controls live on; onEdited: an edit of the page switches the
    // dialog's Apply on.
    MacroPage(QWidget& dialog, std::function<void()> onEdited);

    // Creates the controls, hidden; once per run.
    void Create();
    // Places them from the dialog's skin file; the buttons cut their pictures from sheets.
    void Place(const std::string& skinIniPath, const controls::ButtonSheets& sheets);
    // Shows or hides every control of the page but the repeat label, which no page hides.
    void SetShown(bool shown);
    void SetTexts(int languageIndex);

    // Fills the macro list from a copy of the store; no macro is shown.
    void Load(std::vector<model::MacroRecord> records);
    // Shows the macro the rule picks (storedValue: what the key stores).
    void Select(MacroSelection selection, uint32_t storedValue);
    // Adds what the page holds to choices: whether the list is empty, the shown macro's number
    // and the repeat count.
    void FillChoices(PageChoices& choices) const;
    // Replaces the macro store with the working copy and re-checks the keys' macro references:
    // 1, or 0 when the store could not take it.
    [[nodiscard]] int Commit(model::ModelEditor& editor);
    // Empties the lists: the working copy is dropped.
    void Empty();

private:
    void ShowMacro(int index);
    void OnMacroChosen(int index);
    [[nodiscard]] uint8_t RepeatCount() const;

    QWidget& m_dialog;
    std::function<void()> m_onEdited;
    MacroList m_list;
    QComboBox* m_macroList = nullptr;
    QTableView* m_actionList = nullptr;
    QStandardItemModel* m_actions = nullptr;
    QLineEdit* m_repeatCount = nullptr;
};

} // namespace tavrix::ui
