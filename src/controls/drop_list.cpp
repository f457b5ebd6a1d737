#include "controls/drop_list.h"

#include <QKeyEvent>
#include <QWheelEvent>

#include "controls/control_id.h"

namespace tavrix::controls {

namespace {

bool OpensTheList(const QKeyEvent& event)
{
    const int key = event.key();
    const bool alt = event.modifiers().testFlag(Qt::AltModifier);
    return key == Qt::Key_F4 || key == Qt::Key_Space || key == Qt::Key_Select ||
           (alt && (key == Qt::Key_Down || key == Qt::Key_Up));
}

} // namespace

CDropList::CDropList(int id, QWidget* parent) : QComboBox(parent)
{
    SetDlgCtrlID(*this, id);
}

void CDropList::wheelEvent(QWheelEvent* event)
{
    event->ignore();
}

void CDropList::keyPressEvent(QKeyEvent* event)
{
    if (OpensTheList(*event)) {
        QComboBox::keyPressEvent(event);
        return;
    }
    event->ignore();
}

void CDropList::inputMethodEvent(QInputMethodEvent* event)
{
    event->ignore();
}

} // namespace tavrix::controls
