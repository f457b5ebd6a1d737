#include "ui/editors/action_view.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTimer>

#include "ui/editors/action_table_model.h"

namespace tavrix::ui {

namespace {

constexpr int kDelayEditorLength = 100;
// The drop-down lists, with the cell they stand on, are 20 and 6 cells tall.
constexpr int kKeyChoiceRows = 19;
constexpr int kDirectionChoiceRows = 5;

// A drop-down list over a cell: it opens at once, and closing its list, with a choice or
// without, ends the edit.
class ChoiceEditor : public QComboBox {
public:
    ChoiceEditor(QWidget* parent, std::function<void(QWidget*)> onClosed)
        : QComboBox(parent), m_onClosed(std::move(onClosed))
    {
        QTimer::singleShot(0, this, [this] { showPopup(); });
    }

    void hidePopup() override
    {
        QComboBox::hidePopup();
        // After the list has closed, the choice (if any) is made: the edit ends then.
        QTimer::singleShot(0, this, [this] { m_onClosed(this); });
    }

private:
    std::function<void(QWidget*)> m_onClosed;
};

} // namespace

ActionView::ActionView(QWidget* parent) : QTableView(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::DoubleClicked);
    setShowGrid(true);
    setSortingEnabled(false);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
}

void ActionView::EndEdit()
{
    if (state() != QAbstractItemView::EditingState) {
        return;
    }
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

int ActionView::SelectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ActionView::SelectRow(int row)
{
    if (row < 0) {
        clearSelection();
        return;
    }
    selectRow(row);
    scrollTo(model()->index(row, 0));
}

ActionDelegate::ActionDelegate(const ActionTableModel& actions, Hooks hooks, QObject* parent)
    : QStyledItemDelegate(parent), m_actions(actions), m_hooks(std::move(hooks))
{
}

QWidget* ActionDelegate::CreateChoice(QWidget* parent, const QStringList& entries, int visibleRows) const
{
    auto* self = const_cast<ActionDelegate*>(this);
    auto* choice = new ChoiceEditor(parent, [self](QWidget* editor) {
        emit self->commitData(editor);
        emit self->closeEditor(editor, QAbstractItemDelegate::NoHint);
    });
    choice->addItems(entries);
    choice->setMaxVisibleItems(visibleRows);
    return choice;
}

QWidget* ActionDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    switch (index.column()) {
    case ActionTableModel::KeyColumn:
        return CreateChoice(parent, m_actions.KeyListNames(), kKeyChoiceRows);
    case ActionTableModel::DirectionColumn:
        return CreateChoice(parent, ActionTableModel::DirectionTexts(), kDirectionChoiceRows);
    default:
        break;
    }
    m_hooks.beforeDelayEdit();
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(kDelayEditorLength);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

void ActionDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    const QVariant value = index.data(Qt::EditRole);
    if (auto* choice = qobject_cast<QComboBox*>(editor)) {
        const int entry = value.toInt();
        choice->setCurrentIndex(entry < choice->count() ? entry : -1);
        return;
    }
    auto* edit = static_cast<QLineEdit*>(editor);
    edit->setText(value.toString());
    edit->selectAll();
}

void ActionDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* choice = qobject_cast<QComboBox*>(editor)) {
        if (choice->currentIndex() >= 0) {
            Store(*model, index, choice->currentIndex());
        }
        return;
    }
    auto* edit = static_cast<QLineEdit*>(editor);
    // An unchanged delay is not checked again; an empty or unreadable one is refused.
    if (edit->text() == index.data(Qt::EditRole).toString()) {
        return;
    }
    const std::optional<TypedDelay> typed = DelayFromText(edit->text().toStdString());
    if (!typed) {
        return;
    }
    // Stored before the message is shown: the message takes the focus, which ends the edit
    // again, and then finds nothing left to check.
    edit->setText(QString::number(typed->delay));
    Store(*model, index, typed->delay);
    if (typed->capped) {
        m_hooks.delayCapped();
    }
}

void ActionDelegate::Store(QAbstractItemModel& model, const QModelIndex& index, const QVariant& value) const
{
    if (model.setData(index, value)) {
        m_hooks.edited();
    }
}

bool ActionDelegate::eventFilter(QObject* editor, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(editor, event);
}

} // namespace tavrix::ui
