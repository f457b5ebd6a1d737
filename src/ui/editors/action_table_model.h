#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <array>
#include <optional>

#include "model/key_code.h"
#include "ui/editors/action_list.h"

// The action list as Qt's views see it: one row per action of the shown macro, with the key's
// name, the direction's arrow and the delay, the first two on a grey background. Editing a cell
// sets the key by its position in the key list, the direction, or the delay.
namespace tavrix::ui {

class ActionTableModel : public QAbstractTableModel {
public:
    enum Column { KeyColumn, DirectionColumn, DelayColumn, ColumnCount };

    explicit ActionTableModel(QObject* parent);

    [[nodiscard]] const ActionList& Actions() const { return m_actions; }

    // Names keys in the language, and the columns with the headings.
    void SetLanguage(int languageIndex, const QStringList& headings);
    // The names of the 111 keys of the key list, in list order.
    [[nodiscard]] const QStringList& KeyListNames() const;
    // The arrows of a press and a release.
    [[nodiscard]] static QStringList DirectionTexts();

    void Load(std::span<const model::MacroAction> actions);
    void Clear();
    // ActionList's rules, told to the views: the new row, the row to select, where the row went.
    int AddRecorded(const model::MacroAction& action, bool keepDelays, int selected);
    int Remove(int row);
    int Move(int row, ActionMove move);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Edit role: a key list position for the key, 0 or 1 for the direction, milliseconds for the
    // delay. False when nothing changed.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    [[nodiscard]] const QString& KeyNameOf(uint16_t code) const;

    ActionList m_actions;
    int m_languageIndex = 0;
    QStringList m_headings;
    // Names looked up once per language: the language files are read anew at every look-up.
    mutable std::array<std::optional<QString>, model::kKeyIndexCount> m_keyNames;
    mutable QStringList m_keyListNames;
};

} // namespace tavrix::ui
