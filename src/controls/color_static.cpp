#include "controls/color_static.h"

#include "controls/control_id.h"

namespace tavrix::controls {

ColorStatic::ColorStatic(int id, QWidget* parent) : QLabel(parent)
{
    SetDlgCtrlID(*this, id);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
    SetLabelColor(m_color);
}

void ColorStatic::SetLabelColor(const QColor& color)
{
    m_color = color;
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, color);
    setPalette(palette);
    repaint();
}

} // namespace tavrix::controls
