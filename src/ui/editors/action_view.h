#pragma once

#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

// The action list's view and its in-place editors: a single-selection table whose cells of the
// selected row are edited where they stand, the key and the direction with a drop-down list, the
// delay with a digits-only field.
namespace tavrix::ui {

class ActionTableModel;

class ActionView : public QTableView {
public:
    explicit ActionView(QWidget* parent);

    // Ends an edit in progress, keeping its result.
    void EndEdit();
    // The selected row; -1 when none is.
    [[nodiscard]] int SelectedRow() const;
    // Selects the row (none for -1) and scrolls it into view.
    void SelectRow(int row);
};

class ActionDelegate : public QStyledItemDelegate {
public:
    struct Hooks {
        std::function<void()> beforeDelayEdit; // a delay cell is about to be edited
        std::function<void()> edited;          // an edit changed a cell
        std::function<void()> delayCapped;     // a typed delay above the longest was cut to it
    };

    ActionDelegate(const ActionTableModel& actions, Hooks hooks, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    // Tab neither ends the edit nor moves on.
    bool eventFilter(QObject* editor, QEvent* event) override;

private:
    // Stores value into the cell and tells when that changed it.
    void Store(QAbstractItemModel& model, const QModelIndex& index, const QVariant& value) const;
    QWidget* CreateChoice(QWidget* parent, const QStringList& entries, int visibleRows) const;

    const ActionTableModel& m_actions;
    Hooks m_hooks;
};

} // namespace tavrix::ui
