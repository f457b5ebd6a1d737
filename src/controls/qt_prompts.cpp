#include "controls/qt_prompts.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

namespace tavrix::controls {

namespace {

struct ButtonRole {
    PromptResult result;
    QMessageBox::StandardButton button;
};

constexpr ButtonRole kButtonRoles[] = {
    {PromptResult::Ok, QMessageBox::Ok},
    {PromptResult::Cancel, QMessageBox::Cancel},
    {PromptResult::Yes, QMessageBox::Yes},
    {PromptResult::No, QMessageBox::No},
};

QMessageBox::StandardButtons ButtonsOf(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::Ok:
        return QMessageBox::Ok;
    case PromptButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton ButtonOf(PromptResult result)
{
    for (const ButtonRole& role : kButtonRoles) {
        if (role.result == result) {
            return role.button;
        }
    }
    return QMessageBox::NoButton;
}

PromptResult ResultOf(int button, PromptButtons buttons)
{
    for (const ButtonRole& role : kButtonRoles) {
        if (role.button == button) {
            return role.result;
        }
    }
    // Closing the box answers like its escape button would.
    return buttons == PromptButtons::YesNo ? PromptResult::No
                                           : (buttons == PromptButtons::Ok ? PromptResult::Ok : PromptResult::Cancel);
}

void Configure(QFileDialog& dialog, const FileRequest& request)
{
    dialog.setNameFilters(NameFiltersFromPattern(request.filter));
    dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.folder.isEmpty()) {
        dialog.setDirectory(request.folder);
    }
    // An initial name like "*.fwc" only repeats the filter.
    if (!request.initialName.isEmpty() && !request.initialName.contains(QLatin1Char('*'))) {
        dialog.selectFile(request.initialName);
    }
}

std::optional<QString> RunFileDialog(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

} // namespace

PromptResult QtPrompts::MessageBox(QWidget* owner, const MessageBoxRequest& request)
{
    QMessageBox box(QMessageBox::NoIcon, request.caption, request.text, ButtonsOf(request.buttons), owner);
    box.setDefaultButton(ButtonOf(request.defaultButton));
    return ResultOf(box.exec(), request.buttons);
}

std::optional<QString> QtPrompts::OpenFileName(QWidget* owner, const FileRequest& request)
{
    QFileDialog dialog(owner);
    Configure(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return RunFileDialog(dialog);
}

std::optional<QString> QtPrompts::SaveFileName(QWidget* owner, const FileRequest& request)
{
    QFileDialog dialog(owner);
    Configure(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    return RunFileDialog(dialog);
}

std::optional<QColor> QtPrompts::ChooseColor(QWidget* owner, const QColor& initial)
{
    const QColor color = QColorDialog::getColor(initial, owner);
    if (!color.isValid()) {
        return std::nullopt;
    }
    return color;
}

int QtPrompts::PopupMenu(QWidget* owner, const QPoint& globalPos, const std::vector<MenuItem>& items)
{
    QMenu menu(owner);
    for (const MenuItem& item : items) {
        if (item.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(item.text);
        action->setData(item.id);
        action->setEnabled(item.enabled);
        action->setCheckable(item.checked);
        action->setChecked(item.checked);
    }
    const QAction* chosen = menu.exec(globalPos);
    return chosen != nullptr ? chosen->data().toInt() : 0;
}

} // namespace tavrix::controls
