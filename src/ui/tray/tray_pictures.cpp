#include "ui/tray/tray_pictures.h"

#include <QPainter>
#include <QPixmap>
#include <mutex>

namespace tavrix::ui {

namespace {

constexpr int kIconSize = 32;

std::mutex g_folderMutex;
std::string g_folder;

std::string IconPath(const std::string& name)
{
    std::lock_guard lock(g_folderMutex);
    return g_folder.empty() ? std::string() : g_folder + name;
}

QColor KeyColour(int resourceId)
{
    switch (resourceId) {
    case kIconKeyboard:
        return QColor(0x20, 0xC0, 0x40);
    case kIconKeyboardBusy:
        return QColor(0xFF, 0x82, 0x00);
    default:
        return QColor(0x80, 0x80, 0x80);
    }
}

// A keyboard seen from above: a dark body with three rows of keys in the state's colour.
QPixmap DrawKeyboard(const QColor& keys)
{
    QPixmap picture(kIconSize, kIconSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x20, 0x20, 0x28));
    painter.drawRoundedRect(QRectF(1, 7, 30, 19), 3, 3);
    painter.setBrush(keys);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 6; ++column) {
            painter.drawRect(QRectF(4 + column * 4.3, 10 + row * 4.5, 3, 3));
        }
    }
    return picture;
}

} // namespace

void SetIconFolder(const std::string& folder)
{
    std::lock_guard lock(g_folderMutex);
    g_folder = folder;
}

QIcon TrayIconPicture(int resourceId)
{
    const int id = resourceId == kIconKeyboard || resourceId == kIconKeyboardBusy ? resourceId : kIconNoKeyboard;
    const QPixmap stored(QString::fromStdString(IconPath(std::to_string(id) + ".png")));
    return QIcon(stored.isNull() ? DrawKeyboard(KeyColour(id)) : stored);
}

QIcon ApplicationIcon()
{
    const QPixmap stored(QString::fromStdString(IconPath("tavrix.png")));
    return stored.isNull() ? TrayIconPicture(kIconNoKeyboard) : QIcon(stored);
}

} // namespace tavrix::ui
