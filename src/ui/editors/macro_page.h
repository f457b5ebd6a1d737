#pragma once

#include <functional>
#include <string>

#include "controls/png_button.h"
#include "ui/editors/action_list.h"
#include "ui/editors/composite_state.h"
#include "ui/editors/macro_list.h"
#include "ui/editors/macro_record_filter.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

namespace tavrix::model {
class ModelEditor;
}

// The macro page of the key-assignment dialog: its controls, the working copy of the macro store,
// the actions of the shown macro and their recording. The dialog creates it once, places and
// shows it with the page, routes the page's commands to it, asks it what to assign and has it
// commit the macros on Apply.
namespace tavrix::ui {

class ActionTableModel;
class ActionView;

// Control ids of the macro page.
inline constexpr int kRepeatCountId = 1125;
inline constexpr int kMacroListId = 1126;
inline constexpr int kActionListId = 1019;
inline constexpr int kAddMacroId = 1017;
inline constexpr int kDeleteMacroId = 1018;
inline constexpr int kRecordId = 1020;
inline constexpr int kDeleteActionId = 1021;
inline constexpr int kClearActionsId = 1022;
inline constexpr int kActionToTopId = 1023;
inline constexpr int kActionUpId = 1024;
inline constexpr int kActionDownId = 1025;
inline constexpr int kActionToBottomId = 1026;
inline constexpr int kRecordDelayId = 1027;
inline constexpr int kRepeatLabelId = 1130;
inline constexpr int kRecordDelayLabelId = 1133;
inline constexpr int kMacroListLabelId = 1200;

class MacroPage {
public:
    // dialog: the window the controls live on; onEdited: an edit of the page switches the
    // dialog's Apply on; isMacroAssigned: whether a stored key slot plays the macro with a number.
    MacroPage(QWidget& dialog, std::function<void()> onEdited, std::function<bool(uint16_t)> isMacroAssigned);
    ~MacroPage();

    // Creates the controls, hidden; once per run.
    void Create();
    // Places them from the dialog's skin file; the buttons cut their pictures from sheets.
    void Place(const std::string& skinIniPath, const controls::ButtonSheets& sheets);
    // Shows or hides every control of the page but the repeat label, which no page hides.
    void SetShown(bool shown);
    void SetTexts(int languageIndex);

    // Fills the macro list from a copy of the store and reads the record-delay setting; no macro
    // is shown.
    void Load(std::vector<model::MacroRecord> records);
    // Shows the macro the rule picks (storedValue: what the key stores).
    void Select(MacroSelection selection, uint32_t storedValue);
    // A click on one of the page's buttons; false for any other id.
    bool OnCommand(int id);

    [[nodiscard]] bool IsRecording() const { return m_recorder.IsStarted(); }
    // Stops a recording, keeping what it recorded.
    void StopRecording();
    // Ends a cell edit of the action list in progress, keeping its result.
    void EndEdit();

    // Adds what the page holds to choices: whether the list is empty, the shown macro's number
    // and the repeat count.
    void FillChoices(PageChoices& choices) const;
    // Replaces the macro store with the working copy and re-checks the keys' macro references:
    // 1, or 0 when the store could not take it.
    [[nodiscard]] int Commit(model::ModelEditor& editor);
    // Empties the lists: the working copy is dropped.
    void Empty();

private:
    void CreateActionList();
    void ShowMacro(int index);
    void SaveShown();
    void OnMacroChosen(int index);
    void OnNameTyped(const QString& text);
    void OnRepeatCountChanged(const QString& text);
    void AddMacro();
    void DeleteMacro();
    void StartRecording();
    void ShowRecording(bool recording);
    void OnRecorded(const model::MacroAction& action);
    void DeleteAction();
    void ClearActions();
    void MoveAction(ActionMove move);
    void ToggleRecordDelay();
    // Shows the language text of key, a format filled with number.
    void ShowMessage(const char* key, uint32_t number);
    // Sets an entry's text while the user types in the list's field, leaving the cursor be.
    void SetEntryText(int index, const QString& text);
    [[nodiscard]] uint8_t RepeatCount() const;

    QWidget& m_dialog;
    std::function<void()> m_onEdited;
    std::function<bool(uint16_t)> m_isMacroAssigned;
    MacroList m_list;
    MacroRecordFilter m_recorder;
    // 1: a recording keeps the measured pauses; read at each opening.
    int m_recordDelay = 0;
    QComboBox* m_macroList = nullptr;
    ActionView* m_actionList = nullptr;
    ActionTableModel* m_actions = nullptr;
    QLineEdit* m_repeatCount = nullptr;
    QCheckBox* m_recordDelayBox = nullptr;
};

} // namespace tavrix::ui
