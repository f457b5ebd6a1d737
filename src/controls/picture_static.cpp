#include "controls/picture_static.h"

#include <QMouseEvent>

#include "controls/control_id.h"
#include "controls/window_message.h"

namespace tavrix::controls {

PictureStatic::PictureStatic(int id, QWidget* parent) : QLabel(parent)
{
    SetDlgCtrlID(*this, id);
    setScaledContents(true);
}

void PictureStatic::SetPicture(const QPixmap& picture)
{
    m_picture = &picture;
    setPixmap(picture);
}

// The press is the picture's own: it must not reach the window, which would start a move.
void PictureStatic::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void PictureStatic::mouseReleaseEvent(QMouseEvent* event)
{
    // Like a button: the click counts only when released over the picture.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        NotifyCommand(*this);
    }
    QLabel::mouseReleaseEvent(event);
}

} // namespace tavrix::controls
