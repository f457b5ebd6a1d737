#include "ui/editors/macro_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTableView>
#include <array>

#include "controls/caption_style.h"
#include "controls/color_static.h"
#include "controls/control_id.h"
#include "model/model_editor.h"
#include "skin/skin_placement.h"
#include "ui/editors/editor_style.h"
#include "ui/main_window/lang_text.h"

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
    {1021, "FUNC_MACRO_DELETE2", "A_DELETE"},
    {1022, "FUNC_MACRO_CLEAR", "A_CLEAR"},
    {1023, "FUNC_MACRO_UP_TOP", "A_TOP"},
    {1024, "FUNC_MACRO_UP", "A_UP"},
    {1025, "FUNC_MACRO_DOWN", "A_DOWN"},
    {1026, "FUNC_MACRO_DOWN_BOTTOM", "A_BOTTOM"},
}};

// The buttons that act on the shown macro: enabled only while one is shown.
constexpr int kFirstActionButton = kRecordId;
constexpr int kLastActionButton = 1026;

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

constexpr std::array<const char*, 3> kColumnHeadings{"MACRO_KEYS_TISHI", "MACRO_ACTION_TISHI", "MACRO_DELAY_MS"};

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

} // namespace

MacroPage::MacroPage(QWidget& dialog, std::function<void()> onEdited)
    : m_dialog(dialog), m_onEdited(std::move(onEdited))
{
}

void MacroPage::Create()
{
    m_macroList = Make<QComboBox>(m_dialog, kMacroListId);
    m_macroList->setEditable(true);
    m_macroList->setInsertPolicy(QComboBox::NoInsert);
    m_macroList->setFont(EditorFont(12, m_dialog));
    StyleEditorControl(*m_macroList);
    QObject::connect(m_macroList, &QComboBox::activated, &m_dialog, [this](int index) { OnMacroChosen(index); });

    m_actions = new QStandardItemModel(0, static_cast<int>(kColumnHeadings.size()), &m_dialog);
    m_actionList = Make<QTableView>(m_dialog, kActionListId);
    m_actionList->setModel(m_actions);
    m_actionList->setFont(EditorFont(8, m_dialog));
    m_actionList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_actionList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_actionList->setShowGrid(true);
    m_actionList->setSortingEnabled(false);
    m_actionList->verticalHeader()->hide();
    m_actionList->horizontalHeader()->setSectionsClickable(false);
    for (int column = 0; column < m_actions->columnCount(); ++column) {
        m_actionList->setColumnWidth(column, kActionColumnWidth);
    }
    StyleEditorControl(*m_actionList);

    m_repeatCount = Make<QLineEdit>(m_dialog, kRepeatCountId);
    StyleEditorControl(*m_repeatCount);
    QObject::connect(m_repeatCount, &QLineEdit::textChanged, &m_dialog, [this] { m_onEdited(); });

    Make<QCheckBox>(m_dialog, kRecordDelayId);
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
    static_cast<controls::CPngButton*>(Item(m_dialog, kRecordId))->setText(LangText("A_RECORD", languageIndex));
    for (int column = 0; column < static_cast<int>(kColumnHeadings.size()); ++column) {
        m_actions->setHeaderData(column, Qt::Horizontal,
                                 LangText(kColumnHeadings[static_cast<size_t>(column)], languageIndex));
    }
}

void MacroPage::Load(std::vector<model::MacroRecord> records)
{
    m_list.Load(std::move(records));
    const QSignalBlocker blocker(m_macroList);
    m_macroList->clear();
    for (const model::MacroRecord& record : m_list.Records()) {
        m_macroList->addItem(QString::fromStdU16String(record.Name()));
    }
    m_repeatCount->setText(QStringLiteral("1"));
    ShowMacro(-1);
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
    m_actions->removeRows(0, m_actions->rowCount());
    const model::MacroRecord* macro = m_list.CurrentMacro();
    if (macro != nullptr) {
        m_repeatCount->setText(QString::number(macro->repeatCount));
    }
    for (int id = kFirstActionButton; id <= kLastActionButton; ++id) {
        Item(m_dialog, id)->setEnabled(macro != nullptr);
    }
}

void MacroPage::OnMacroChosen(int index)
{
    if (m_list.Current() >= 0) {
        m_list.SaveShown(RepeatCount());
    }
    ShowMacro(index);
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
    m_list.SaveShown(RepeatCount());
    const int committed = editor.CommitMacros(m_list.Records());
    if (committed != 0) {
        m_list.MarkCommitted();
    }
    return committed;
}

void MacroPage::Empty()
{
    m_list.Clear();
    const QSignalBlocker blocker(m_macroList);
    m_macroList->clear();
    m_actions->removeRows(0, m_actions->rowCount());
}

} // namespace tavrix::ui
