#include "ui/editors/editor_style.h"

#include <QWidget>
#include <cmath>

#include "controls/caption_style.h"

namespace tavrix::ui {

namespace {

constexpr double kPointsPerInch = 72.0;

const char* const kEditorStyle =
    "QComboBox, QLineEdit { background: #1E1F24; color: #FFFFFF; border: 1px solid #3A3E47; padding: 1px 6px; }"
    "QComboBox:focus, QLineEdit:focus { border-color: #FF8200; }"
    "QComboBox:disabled, QLineEdit:disabled { color: #7F7F7F; }"
    "QComboBox QAbstractItemView { background: #1E1F24; color: #FFFFFF; selection-background-color: #FF8200; }"
    "QTableView { background: #14161A; color: #E4E4E4; gridline-color: #2E3239; border: 1px solid #3A3E47; "
    "selection-background-color: #FF8200; }"
    "QHeaderView { background: #23262C; }"
    "QHeaderView::section { background: #23262C; color: #E4E4E4; border: 0; border-right: 1px solid #2E3239; "
    "padding: 2px 6px; }";

} // namespace

QFont EditorFont(double points, const QWidget& widget)
{
    QFont font(controls::kSkinCaptionFace);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * widget.logicalDpiY() / kPointsPerInch))));
    return font;
}

void StyleEditorControl(QWidget& control)
{
    control.setStyleSheet(kEditorStyle);
}

} // namespace tavrix::ui
