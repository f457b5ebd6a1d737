#include "ui/editors/macro_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <array>

#include "controls/caption_style.h"
#include "controls/color_static.h"
#include "controls/control_id.h"
#include "model/model_editor.h"
#include "skin/skin_placement.h"
#include "ui/editors/action_table_model.h"
#include "ui/editors/action_view.h"
#include "ui/editors/editor_style.h"
#include "ui/editors/record_delay_setting.h"
#include "ui/main_window/lang_text.h"

// The macro page's controls, and loading, showing, saving and committing its macros. Its commands
// are in macro_page_commands.cpp.
namespace tavrix::ui {

namespace {

const char* const kSection = "BUTTONINFO";
constexpr int kActionColumnWidth = 170;
constexpr unsigned kLeftCaption = controls::TextFormat::VCenter | controls::TextFormat::SingleLine;

struct PageButton {
    int id;
    const char* skinKey;
    const char* tooltipKey; // nullptr: the button has a caption instead
};

constexpr std::array<PageButton, 9> kButtons{{
    {kAddMacroId, "FUNC_MACRO_ADD", nullptr},
    {kDeleteMacroId, "FUNC_MACRO_DELETE", nullptr},
    {kRecordId, "FUNC_MACRO_RECORD", nullptr},
    {kDeleteActionId, "FUNC_MACRO_DELETE2", "A_DELETE"},
    {kClearActionsId, "FUNC_MACRO_CLEAR", "A_CLEAR"},
    {kActionToTopId, "FUNC_MACRO_UP_TOP", "A_TOP"},
    {kActionUpId, "FUNC_MACRO_UP", "A_UP"},
    {kActionDownId, "FUNC_MACRO_DOWN", "A_DOWN"},
    {kActionToBottomId, "FUNC_MACRO_DOWN_BOTTOM", "A_BOTTOM"},
}};

struct PageControl {
    int id;
    const char* skinKey;
};

constexpr std::array<PageControl, 7> kControls{{
    {kMacroListId, "FUNC_MACRO_LIST"},
    {kMacroListLabelId, "MARCO_NAME_SETTING"},
    {kActionListId, "FUNC_MACRO_LIST2"},
    {kRecordDelayId, "FUNC_MACRO_RECORD_DELAY"},
    {kRecordDelayLabelId, "FUNC_MACRO_RECORD_DELAY2"},
    {kRepeatCountId, "FUNC_MACRO_CYCLES"},
    {kRepeatLabelId, "FUNC_MACRO_CYCLES_PROMPT"},
}};

struct LabelText {
    int id;
    const char* textKey;
};

constexpr std::array<LabelText, 3> kLabels{{
    {kMacroListLabelId, "MACRO_NAME_SETTING"},
    {kRecordDelayLabelId, "RECORD_DELAY"},
    {kRepeatLabelId, "MACRO_CYCLES"},
}};

constexpr std::array<const char*, ActionTableModel::ColumnCount> kColumnHeadings{
    "MACRO_KEYS_TISHI", "MACRO_ACTION_TISHI", "MACRO_DELAY_MS"};

template <typename Control> Control* Make(QWidget& dialog, int id)
{
    auto* control = new Control(&dialog);
    controls::SetDlgCtrlID(*control, id);
    control->hide();
    return control;
}

QWidget* Item(const QWidget& dialog, int id)
{
    return controls::FindDlgItem(dialog, id);
}

// The name under which the record-delay setting is kept: a text of the current language.
std::string RecordDelayName()
{
    return LangText("MACRO_ACTION_RECORD_DELAY").toStdString();
}

} // namespace

MacroPage::MacroPage(QWidget& dialog, std::function<void()> onEdited, std::function<bool(uint16_t)> isMacroAssigned)
    : m_dialog(dialog), m_onEdited(std::move(onEdited)), m_isMacroAssigned(std::move(isMacroAssigned)),
      m_recorder([this](const model::MacroAction& action) { OnRecorded(action); })
{
}

MacroPage::~MacroPage() = default;

void MacroPage::Create()
{
    m_macroList = Make<QComboBox>(m_dialog, kMacroListId);
    m_macroList->setEditable(true);
    m_macroList->setInsertPolicy(QComboBox::NoInsert);
    m_macroList->setCompleter(nullptr);
    m_macroList->lineEdit()->setMaxLength(static_cast<int>(model::kMaxMacroNameLength));
    m_macroList->setFont(EditorFont(12, m_dialog));
    StyleEditorControl(*m_macroList);
    QObject::connect(m_macroList, &QComboBox::activated, &m_dialog, [this](int index) { OnMacroChosen(index); });
    QObject::connect(m_macroList->lineEdit(), &QLineEdit::textEdited, &m_dialog,
                     [this](const QString& text) { OnNameTyped(text); });

    CreateActionList();

    m_repeatCount = Make<QLineEdit>(m_dialog, kRepeatCountId);
    StyleEditorControl(*m_repeatCount);
    QObject::connect(m_repeatCount, &QLineEdit::textChanged, &m_dialog,
                     [this](const QString& text) { OnRepeatCountChanged(text); });

    m_recordDelayBox = Make<QCheckBox>(m_dialog, kRecordDelayId);
    QObject::connect(m_recordDelayBox, &QCheckBox::clicked, &m_dialog, [this] { ToggleRecordDelay(); });
    for (const LabelText& label : kLabels) {
        auto* control = new controls::ColorStatic(label.id, &m_dialog);
        control->SetLabelColor(kEditorLabelColor);
        control->hide();
    }
    Item(m_dialog, kMacroListLabelId)->setFont(EditorFont(10.8, m_dialog));
    Item(m_dialog, kRepeatLabelId)->show();

    for (const PageButton& entry : kButtons) {
        auto* button = new controls::CPngButton(entry.id, &m_dialog);
        button->hide();
        const int points = entry.id == kRecordId ? 8 : 9;
        const unsigned format = entry.id == kRecordId ? controls::kCentredCaption : kLeftCaption;
        button->SetTextStyle(true, points, controls::kSkinCaptionFace, controls::kSkinCaptionColors, format);
    }
}

void MacroPage::CreateActionList()
{
    m_actions = new ActionTableModel(&m_dialog);
    m_actionList = Make<ActionView>(m_dialog, kActionListId);
    m_actionList->setModel(m_actions);
    m_actionList->setItemDelegate(
        new ActionDelegate(*m_actions,
                           {.beforeDelayEdit = [this] { StopRecording(); },
                            .edited = [this] { m_onEdited(); },
                            .delayCapped = [this] { ShowMessage("MACRO_ACTION_ERR_DELAY_MAX", kMaxTypedDelayMs); }},
                           m_actionList));
    m_actionList->setFont(EditorFont(8, m_dialog));
    for (int column = 0; column < ActionTableModel::ColumnCount; ++column) {
        m_actionList->setColumnWidth(column, kActionColumnWidth);
    }
    StyleEditorControl(*m_actionList);
}

void MacroPage::Place(const std::string& skinIniPath, const controls::ButtonSheets& sheets)
{
    for (const PageButton& entry : kButtons) {
        auto* button = dynamic_cast<controls::CPngButton*>(Item(m_dialog, entry.id));
        skin::PlaceSkinButton(*button, skinIniPath, kSection, entry.skinKey, sheets);
    }
    for (const PageControl& control : kControls) {
        skin::PlaceSkinControl(*Item(m_dialog, control.id), skinIniPath, kSection, control.skinKey);
    }
}

void MacroPage::SetShown(bool shown)
{
    for (const PageButton& entry : kButtons) {
        Item(m_dialog, entry.id)->setVisible(shown);
    }
    for (const PageControl& control : kControls) {
        if (control.id != kRepeatLabelId) {
            Item(m_dialog, control.id)->setVisible(shown);
        }
    }
}

void MacroPage::SetTexts(int languageIndex)
{
    for (const LabelText& label : kLabels) {
        static_cast<controls::ColorStatic*>(Item(m_dialog, label.id))->setText(LangText(label.textKey, languageIndex));
    }
    for (const PageButton& entry : kButtons) {
        auto* button = static_cast<controls::CPngButton*>(Item(m_dialog, entry.id));
        if (entry.tooltipKey != nullptr) {
            button->setText(QString());
            button->SetTooltipText(LangText(entry.tooltipKey, languageIndex), true);
        }
    }
    const char* recordText = IsRecording() ? "MACRO_ACTION_STOP_RECORD" : "A_RECORD";
    static_cast<controls::CPngButton*>(Item(m_dialog, kRecordId))->setText(LangText(recordText, languageIndex));
    QStringList headings;
    for (const char* key : kColumnHeadings) {
        headings.append(LangText(key, languageIndex));
    }
    m_actions->SetLanguage(languageIndex, headings);
}

void MacroPage::Load(std::vector<model::MacroRecord> records)
{
    m_list.Load(std::move(records));
    {
        const QSignalBlocker blocker(m_macroList);
        m_macroList->clear();
        for (const model::MacroRecord& record : m_list.Records()) {
            m_macroList->addItem(QString::fromStdU16String(record.Name()));
        }
    }
    m_repeatCount->setText(QStringLiteral("1"));
    // Written back at once: the setting stays under this language's name.
    m_recordDelay = ReadRecordDelay(RecordDelayName());
    m_recordDelayBox->setChecked(m_recordDelay == 1);
    WriteRecordDelay(RecordDelayName(), m_recordDelay);
    ShowMacro(-1);
}

void MacroPage::ToggleRecordDelay()
{
    m_recordDelay = m_recordDelay == 1 ? 0 : 1;
    m_recordDelayBox->setChecked(m_recordDelay == 1);
    WriteRecordDelay(RecordDelayName(), m_recordDelay);
}

void MacroPage::Select(MacroSelection selection, uint32_t storedValue)
{
    ShowMacro(m_list.EntryFor(selection, storedValue));
}

void MacroPage::ShowMacro(int index)
{
    m_list.SetCurrent(index);
    {
        const QSignalBlocker blocker(m_macroList);
        m_macroList->setCurrentIndex(m_list.Current());
    }
    const model::MacroRecord* macro = m_list.CurrentMacro();
    if (macro != nullptr) {
        m_actions->Load(macro->UsedActions());
        // Rewriting the box is an edit even when the count stays.
        m_repeatCount->setText(QString::number(macro->repeatCount));
        m_onEdited();
    } else {
        m_actions->Clear();
    }
    for (int id = kRecordId; id <= kActionToBottomId; ++id) {
        Item(m_dialog, id)->setEnabled(macro != nullptr);
    }
}

void MacroPage::SaveShown()
{
    EndEdit();
    m_list.SaveShown(RepeatCount(), m_actions->Actions().Rows());
}

void MacroPage::EndEdit()
{
    m_actionList->EndEdit();
}

uint8_t MacroPage::RepeatCount() const
{
    const model::MacroRecord* macro = m_list.CurrentMacro();
    const uint8_t shown = macro != nullptr ? macro->repeatCount : 1;
    return RepeatCountFromText(m_repeatCount->text().trimmed().toStdString(), shown);
}

void MacroPage::FillChoices(PageChoices& choices) const
{
    const model::MacroRecord* macro = m_list.CurrentMacro();
    choices.macroListEmpty = m_list.Empty();
    choices.macroNumber = macro != nullptr ? macro->number : 0;
    choices.repeatCount = RepeatCount();
}

int MacroPage::Commit(model::ModelEditor& editor)
{
    SaveShown();
    const int committed = editor.CommitMacros(m_list.Records());
    if (committed != 0) {
        m_list.MarkCommitted();
    }
    return committed;
}

void MacroPage::Empty()
{
    m_list.Clear();
    {
        const QSignalBlocker blocker(m_macroList);
        m_macroList->clear();
    }
    m_actions->Clear();
    m_recordDelay = 0;
}

} // namespace tavrix::ui
