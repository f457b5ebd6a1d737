#include "ui/editors/action_table_model.h"

#include "model/key_catalogue.h"
#include "model/key_names.h"
#include "ui/editors/editor_style.h"
#include "ui/main_window/lang_text.h"

namespace tavrix::ui {

namespace {

const QString kPressArrow = QStringLiteral("\u2193");
const QString kReleaseArrow = QStringLiteral("  \u2191");

} // namespace

ActionTableModel::ActionTableModel(QObject* parent) : QAbstractTableModel(parent)
{
}

void ActionTableModel::SetLanguage(int languageIndex, const QStringList& headings)
{
    m_languageIndex = languageIndex;
    m_headings = headings;
    m_keyNames.fill(std::nullopt);
    m_keyListNames.clear();
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (m_actions.Count() > 0) {
        emit dataChanged(index(0, KeyColumn), index(m_actions.Count() - 1, KeyColumn), {Qt::DisplayRole});
    }
}

const QString& ActionTableModel::KeyNameOf(uint16_t code) const
{
    std::optional<QString>& name = m_keyNames[model::KeyIndexOf(code)];
    if (!name) {
        name = QString::fromStdU16String(model::KeyName(code, LangLookup(m_languageIndex)));
    }
    return *name;
}

const QStringList& ActionTableModel::KeyListNames() const
{
    if (m_keyListNames.isEmpty()) {
        const model::TextLookup lookup = LangLookup(m_languageIndex);
        for (uint16_t position = 0; position < model::kKeyListLength; ++position) {
            m_keyListNames.append(QString::fromStdU16String(model::KeyNameAtListPosition(position, lookup)));
        }
    }
    return m_keyListNames;
}

QStringList ActionTableModel::DirectionTexts()
{
    return {kPressArrow, kReleaseArrow};
}

void ActionTableModel::Load(std::span<const model::MacroAction> actions)
{
    beginResetModel();
    m_actions.Load(actions);
    endResetModel();
}

void ActionTableModel::Clear()
{
    beginResetModel();
    m_actions.Clear();
    endResetModel();
}

int ActionTableModel::AddRecorded(const model::MacroAction& action, bool keepDelays, int selected)
{
    if (m_actions.Full()) {
        return -1;
    }
    const int at = m_actions.RecordingRow(selected);
    beginInsertRows(QModelIndex(), at, at);
    (void)m_actions.AddRecorded(action, keepDelays, selected);
    endInsertRows();
    if (at > 0) {
        emit dataChanged(index(at - 1, DelayColumn), index(at - 1, DelayColumn), {Qt::DisplayRole});
    }
    return at;
}

int ActionTableModel::Remove(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
    const int next = m_actions.Remove(row);
    endRemoveRows();
    return next;
}

int ActionTableModel::Move(int row, ActionMove move)
{
    const int to = m_actions.MoveTarget(row, move);
    if (to == row) {
        return to;
    }
    // Qt names the destination as the row the moved one goes before, counted before the move.
    beginMoveRows(QModelIndex(), row, row, QModelIndex(), to > row ? to + 1 : to);
    (void)m_actions.Move(row, move);
    endMoveRows();
    return to;
}

int ActionTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_actions.Count();
}

int ActionTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ActionTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_actions.Count()) {
        return {};
    }
    const model::MacroAction& action = m_actions.Rows()[static_cast<size_t>(index.row())];
    const bool press = action.direction == model::kMacroPress;
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case KeyColumn:
            return KeyNameOf(action.keyCode);
        case DirectionColumn:
            return press ? kPressArrow : kReleaseArrow;
        case DelayColumn:
            return QString::number(action.delay);
        default:
            return {};
        }
    }
    if (role == Qt::EditRole) {
        switch (index.column()) {
        case KeyColumn:
            return model::ListPositionOf(action.keyCode);
        case DirectionColumn:
            return action.direction;
        case DelayColumn:
            return QString::number(action.delay);
        default:
            return {};
        }
    }
    if (role == Qt::BackgroundRole && index.column() != DelayColumn) {
        return kGreyTextColor;
    }
    return {};
}

QVariant ActionTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_headings.size()) {
        return m_headings[section];
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ActionTableModel::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool ActionTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() >= m_actions.Count()) {
        return false;
    }
    const int row = index.row();
    bool changed = false;
    switch (index.column()) {
    case KeyColumn:
        changed = m_actions.SetKeyAtListPosition(row, static_cast<uint16_t>(value.toUInt()));
        break;
    case DirectionColumn:
        changed = m_actions.SetDirection(row, static_cast<uint16_t>(value.toUInt()));
        break;
    case DelayColumn:
        changed = m_actions.Rows()[static_cast<size_t>(row)].delay != value.toUInt();
        m_actions.SetDelay(row, value.toUInt());
        break;
    default:
        break;
    }
    if (changed) {
        emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    }
    return changed;
}

} // namespace tavrix::ui
