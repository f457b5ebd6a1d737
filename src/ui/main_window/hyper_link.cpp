#include "ui/main_window/hyper_link.h"

#include <QMouseEvent>

#include "controls/control_id.h"
#include "platform/shell_open.h"

namespace tavrix::ui {

CHyperLink::CHyperLink(int id, QWidget* parent) : QLabel(parent)
{
    controls::SetDlgCtrlID(*this, id);
    setCursor(Qt::PointingHandCursor);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, QColor(0x00, 0x66, 0xCC));
    setPalette(colours);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
}

void CHyperLink::SetLink(const QString& text, const QString& address)
{
    setText(text);
    setToolTip(address);
    m_address = address;
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && !m_address.isEmpty()) {
        (void)platform::ShellOpen(platform::ShellRequest{m_address.toStdString(), {}, platform::ShowMode::Normal});
    }
    QLabel::mouseReleaseEvent(event);
}

} // namespace tavrix::ui
