#include "test_skin.h"

#include <QPainter>
#include <fstream>

namespace tavrix::testing {

std::string TestSkin::WriteFile(const std::string& name, const std::string& text) const
{
    const std::string path = PathOf(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string TestSkin::WritePicture(const std::string& name, const QImage& picture) const
{
    const std::string path = PathOf(name);
    picture.save(QString::fromStdString(path));
    return path;
}

QImage TestSkin::Picture(QSize size, const QColor& fill, int border, const QColor& borderColor)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(borderColor);
    QPainter painter(&picture);
    painter.fillRect(QRect(QPoint(0, 0), size).adjusted(border, border, -border, -border), fill);
    return picture;
}

} // namespace tavrix::testing
