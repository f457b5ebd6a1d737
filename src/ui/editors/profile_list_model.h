#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <functional>

#include "ui/editors/profile_list.h"

// The profile manager's list as the table shows it: whether the row's profile is active, its
// name and its folder. The keyboard's profiles are named by their number; files by their name.
namespace tavrix::ui {

class ProfileListModel : public QAbstractTableModel {
public:
    static constexpr int kActiveColumn = 0;
    static constexpr int kNameColumn = 1;
    static constexpr int kFolderColumn = 2;
    static constexpr int kColumnCount = 3;

    // label: the name shown for a profile of the keyboard.
    using Label = std::function<QString(int profile)>;

    explicit ProfileListModel(QObject* parent = nullptr);

    [[nodiscard]] const ProfileList& List() const { return m_list; }
    // The changes of ProfileList, told to the table.
    void Open(int profileCount, const std::filesystem::path& cacheFile, int activeProfile);
    void AddFile(const std::filesystem::path& file);
    int Delete(int row);
    void SetActiveProfile(int profile);
    // The column headings and the profiles' label, in the language shown now.
    void SetTexts(const std::array<QString, kColumnCount>& headings, Label label);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ProfileList m_list;
    std::array<QString, kColumnCount> m_headings;
    Label m_label;
};

} // namespace tavrix::ui
