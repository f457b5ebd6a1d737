#include "ui/editors/profile_list_model.h"

namespace tavrix::ui {

namespace {

const QString kActiveMark = QStringLiteral("\u25CF");

} // namespace

ProfileListModel::ProfileListModel(QObject* parent) : QAbstractTableModel(parent)
{
}

void ProfileListModel::Open(int profileCount, const std::filesystem::path& cacheFile, int activeProfile)
{
    beginResetModel();
    m_list.Open(profileCount, cacheFile, activeProfile);
    endResetModel();
}

void ProfileListModel::AddFile(const std::filesystem::path& file)
{
    const int row = m_list.Count();
    beginInsertRows(QModelIndex(), row, row);
    m_list.AddFile(file);
    endInsertRows();
}

int ProfileListModel::Delete(int row)
{
    if (row < 0 || row >= m_list.Count()) {
        return -1;
    }
    beginRemoveRows(QModelIndex(), row, row);
    const int next = m_list.Delete(row);
    endRemoveRows();
    return next;
}

void ProfileListModel::SetActiveProfile(int profile)
{
    m_list.SetActiveProfile(profile);
    if (m_list.Count() > 0) {
        emit dataChanged(index(0, kActiveColumn), index(m_list.Count() - 1, kActiveColumn));
    }
}

void ProfileListModel::SetTexts(const std::array<QString, kColumnCount>& headings, Label label)
{
    m_headings = headings;
    m_label = std::move(label);
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
    if (m_list.Count() > 0) {
        emit dataChanged(index(0, kNameColumn), index(m_list.Count() - 1, kNameColumn));
    }
}

int ProfileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_list.Count();
}

int ProfileListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ProfileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_list.Count()) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        return index.column() == kActiveColumn ? QVariant(Qt::AlignCenter) : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    const ProfileRow& row = m_list.Row(index.row());
    switch (index.column()) {
    case kActiveColumn:
        return m_list.IsActive(index.row()) ? kActiveMark : QString();
    case kNameColumn:
        return row.profile >= 0 && m_label ? m_label(row.profile) : QString::fromStdString(row.name);
    default:
        return QString::fromStdString(row.folder);
    }
}

QVariant ProfileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumnCount) {
        return {};
    }
    return m_headings[static_cast<size_t>(section)];
}

} // namespace tavrix::ui
