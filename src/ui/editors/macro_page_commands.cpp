#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "controls/control_id.h"
#include "controls/prompts.h"
#include "model/text_format.h"
#include "ui/editors/action_table_model.h"
#include "ui/editors/action_view.h"
#include "ui/editors/macro_page.h"
#include "ui/main_window/lang_text.h"

// The macro page's commands: the macro list's entries, recording, the action list's buttons and
// the repeat count.
namespace tavrix::ui {

namespace {

// Asks with the language text of key, Yes and No, No the default: whether the user said Yes.
bool Confirm(QWidget& owner, const char* key)
{
    const controls::MessageBoxRequest request{LangText(key), QString(), controls::PromptButtons::YesNo,
                                              controls::PromptResult::No};
    return controls::ActivePrompts().MessageBox(&owner, request) == controls::PromptResult::Yes;
}

} // namespace

bool MacroPage::OnCommand(int id)
{
    switch (id) {
    case kAddMacroId:
        AddMacro();
        return true;
    case kDeleteMacroId:
        DeleteMacro();
        return true;
    case kRecordId:
        if (IsRecording()) {
            StopRecording();
        } else {
            StartRecording();
        }
        return true;
    case kDeleteActionId:
        DeleteAction();
        return true;
    case kClearActionsId:
        ClearActions();
        return true;
    case kActionToTopId:
        MoveAction(ActionMove::Top);
        return true;
    case kActionUpId:
        MoveAction(ActionMove::Up);
        return true;
    case kActionDownId:
        MoveAction(ActionMove::Down);
        return true;
    case kActionToBottomId:
        MoveAction(ActionMove::Bottom);
        return true;
    default:
        return false;
    }
}

void MacroPage::ShowMessage(const char* key, uint32_t number)
{
    const std::u16string text = model::FormatNumber(LangText(key).toStdU16String(), number);
    controls::ActivePrompts().MessageBox(&m_dialog, {QString::fromStdU16String(text), QString()});
}

void MacroPage::OnMacroChosen(int index)
{
    if (m_list.Current() >= 0) {
        SaveShown();
    }
    ShowMacro(index);
}

void MacroPage::OnNameTyped(const QString& text)
{
    if (!m_list.Empty()) {
        // With no macro chosen yet the typing names nothing.
        const int current = m_list.Current();
        if (current >= 0) {
            m_list.Rename(current, text.toStdU16String());
            SetEntryText(current, text);
            m_onEdited();
        }
        return;
    }
    const int entry = m_list.AddNew(text.toStdU16String());
    SetEntryText(entry, text);
    ShowMacro(entry);
    m_onEdited();
}

void MacroPage::SetEntryText(int index, const QString& text)
{
    QLineEdit* field = m_macroList->lineEdit();
    const int cursor = field->cursorPosition();
    const QSignalBlocker blocker(m_macroList);
    if (index < m_macroList->count()) {
        m_macroList->setItemText(index, text);
    } else {
        m_macroList->addItem(text);
    }
    field->setCursorPosition(cursor);
}

void MacroPage::AddMacro()
{
    if (m_list.Full()) {
        ShowMessage("MACRO_ERR_MAX", static_cast<uint32_t>(model::kMaxMacros));
        return;
    }
    const std::u16string name = m_list.NextNewName(LangText("MACRO_NEW_PREFIX").toStdU16String());
    SaveShown();
    const int entry = m_list.AddNew(name);
    {
        const QSignalBlocker blocker(m_macroList);
        m_macroList->addItem(QString::fromStdU16String(name));
    }
    ShowMacro(entry);
    m_onEdited();
}

void MacroPage::DeleteMacro()
{
    const model::MacroRecord* macro = m_list.CurrentMacro();
    if (macro == nullptr) {
        return;
    }
    // A macro made in this opening is on no key yet.
    if (macro->newFlag != 1 && m_isMacroAssigned(macro->number) && !Confirm(m_dialog, "MACRO_DELETE_CONFIRM_OF_KEYS")) {
        return;
    }
    const int index = m_list.Current();
    m_list.Remove(index);
    {
        const QSignalBlocker blocker(m_macroList);
        m_macroList->removeItem(index);
    }
    ShowMacro(m_list.Current());
    m_onEdited();
}

void MacroPage::StartRecording()
{
    if (m_list.CurrentMacro() == nullptr) {
        return;
    }
    ShowRecording(true);
    m_recorder.Start();
}

void MacroPage::StopRecording()
{
    if (!IsRecording()) {
        return;
    }
    // A release that waited for a repeat's press is recorded first.
    m_recorder.Stop();
    ShowRecording(false);
}

void MacroPage::ShowRecording(bool recording)
{
    auto* button = static_cast<controls::CPngButton*>(controls::FindDlgItem(m_dialog, kRecordId));
    button->setText(LangText(recording ? "MACRO_ACTION_STOP_RECORD" : "MACRO_ACTION_RECORD"));
    button->SetSelected(recording, true);
    for (QWidget* control : {controls::FindDlgItem(m_dialog, kAddMacroId),
                             controls::FindDlgItem(m_dialog, kDeleteMacroId), static_cast<QWidget*>(m_macroList)}) {
        control->setEnabled(!recording);
    }
}

void MacroPage::OnRecorded(const model::MacroAction& action)
{
    EndEdit();
    const int row = m_actions->AddRecorded(action, m_recordDelay == 1, m_actionList->SelectedRow());
    if (row < 0) {
        return;
    }
    m_actionList->SelectRow(row);
    m_onEdited();
}

void MacroPage::DeleteAction()
{
    EndEdit();
    const int row = m_actionList->SelectedRow();
    if (row < 0) {
        return;
    }
    m_actionList->SelectRow(m_actions->Remove(row));
    m_onEdited();
}

void MacroPage::ClearActions()
{
    if (m_actions->rowCount() == 0 || !Confirm(m_dialog, "MACRO_ACTION_CLEAR_CONFIRM")) {
        return;
    }
    m_actions->Clear();
    m_onEdited();
}

void MacroPage::MoveAction(ActionMove move)
{
    EndEdit();
    if (const int row = m_actionList->SelectedRow(); row >= 0) {
        m_actionList->SelectRow(m_actions->Move(row, move));
        m_actionList->setFocus();
    }
    m_onEdited();
}

void MacroPage::OnRepeatCountChanged(const QString& text)
{
    if (const std::optional<uint8_t> count = RepeatCountReplacement(text.trimmed().toStdString())) {
        // Shows the replacement, which comes back here as a count in range.
        m_repeatCount->setText(QString::number(*count));
        return;
    }
    m_onEdited();
}

} // namespace tavrix::ui
