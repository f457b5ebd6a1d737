#pragma once

#include <QColor>
#include <QFont>

class QWidget;

// The look the editors give their own controls on the dark skin: fonts by point size, the
// labels' colour, and a style sheet for the lists, fields and boxes.
namespace tavrix::ui {

inline const QColor kEditorLabelColor(228, 228, 228);
// The desktop's grey-text colour, the background of the action list's key and direction cells.
inline const QColor kGreyTextColor(109, 109, 109);

// The skin's face at points, converted to pixels with the screen's vertical resolution.
[[nodiscard]] QFont EditorFont(double points, const QWidget& widget);

// Gives control the editors' style sheet.
void StyleEditorControl(QWidget& control);

} // namespace tavrix::ui
