#pragma once

#include "controls/prompts.h"

namespace tavrix::controls {

// The prompts shown with Qt's own dialogs and menus.
class QtPrompts final : public Prompts {
public:
    PromptResult MessageBox(QWidget* owner, const MessageBoxRequest& request) override;
    std::optional<QString> OpenFileName(QWidget* owner, const FileRequest& request) override;
    std::optional<QString> SaveFileName(QWidget* owner, const FileRequest& request) override;
    std::optional<QColor> ChooseColor(QWidget* owner, const QColor& initial) override;
    int PopupMenu(QWidget* owner, const QPoint& globalPos, const std::vector<MenuItem>& items) override;
};

} // namespace tavrix::controls
