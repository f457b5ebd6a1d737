#include "controls/control_id.h"

#include <QVariant>

namespace tavrix::controls {

namespace {

constexpr const char* kIdProperty = "tavrixCtrlId";

} // namespace

void SetDlgCtrlID(QWidget& control, int id)
{
    control.setProperty(kIdProperty, id);
}

int GetDlgCtrlID(const QWidget& control)
{
    return control.property(kIdProperty).toInt();
}

QWidget* FindDlgItem(const QWidget& window, int id)
{
    const auto children = window.findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (GetDlgCtrlID(*child) == id) {
            return child;
        }
    }
    return nullptr;
}

} // namespace tavrix::controls
