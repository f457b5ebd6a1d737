#pragma once

#include <QWidget>

// Every control of a skinned window carries the numeric id its window addresses it by.
namespace tavrix::controls {

void SetDlgCtrlID(QWidget& control, int id);
// The control's id, or 0 when it was never given one.
[[nodiscard]] int GetDlgCtrlID(const QWidget& control);
// The first descendant of window that carries id, or nullptr.
[[nodiscard]] QWidget* FindDlgItem(const QWidget& window, int id);

} // namespace tavrix::controls
