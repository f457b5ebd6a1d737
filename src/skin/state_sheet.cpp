#include "skin/state_sheet.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace tavrix::skin {

std::string JoinSkinPath(const std::string& folder, const std::string& relativePath)
{
    std::string relative = relativePath;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    if (folder.empty() || folder.back() == '/') {
        return folder + relative;
    }
    return folder + '/' + relative;
}

QImage LoadSkinImage(const std::string& exeFolder, const std::string& relativePath)
{
    return QImage(QString::fromStdString(JoinSkinPath(exeFolder, relativePath)));
}

void MakeStateSheet(QPixmap& sheet, const QImage& picture, const QWidget& window)
{
    sheet = QPixmap(window.size() + QSize(kSheetMargin, kSheetMargin));
    sheet.fill(Qt::black);
    if (picture.isNull()) {
        return;
    }
    QPainter painter(&sheet);
    painter.drawImage(QPoint(0, 0), picture);
}

} // namespace tavrix::skin
