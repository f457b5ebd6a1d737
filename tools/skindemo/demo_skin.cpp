#include "demo_skin.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace tavrix::skindemo {

namespace {

struct DemoButton {
    const char* key;
    QRect rect;
};

// Where the demo's buttons lie; the skin file and the sheets are both made from this table.
const DemoButton kButtons[] = {
    {"FUNC_PROFILE1", {40, 70, 110, 32}},  {"FUNC_PROFILE2", {160, 70, 110, 32}},
    {"FUNC_PROFILE3", {280, 70, 110, 32}}, {"CONTROL2_APPLY", {330, 200, 100, 30}},
    {"CONTROL_CLOSE", {432, 20, 24, 24}},  {"CONTROL_HELP", {40, 200, 100, 30}},
    {"FUNC_SWITCH", {160, 192, 120, 44}},
};

struct SheetStyle {
    const char* file;
    QColor face;
    QColor edge;
};

const SheetStyle kSheets[] = {
    {"demo_normal.png", {70, 78, 92}, {120, 130, 150}}, {"demo_over.png", {96, 110, 132}, {255, 130, 0}},
    {"demo_down.png", {40, 46, 58}, {255, 155, 4}},     {"demo_disable.png", {60, 60, 60}, {80, 80, 80}},
    {"demo_select.png", {44, 50, 64}, {0, 100, 255}},
};

QPainterPath WindowShape()
{
    QPainterPath shape;
    shape.addRoundedRect(QRectF(2, 2, kDemoWidth - 4, kDemoHeight - 4), 28, 28);
    return shape;
}

QImage Background()
{
    QImage picture(kDemoWidth, kDemoHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QLinearGradient gradient(0, 0, 0, kDemoHeight);
    gradient.setColorAt(0, QColor(34, 40, 52));
    gradient.setColorAt(1, QColor(16, 18, 24));
    painter.fillPath(WindowShape(), gradient);
    painter.setPen(QColor(255, 130, 0));
    painter.setFont(QFont("DejaVu Sans", 14, QFont::Bold));
    painter.drawText(QRect(40, 16, 300, 36), Qt::AlignLeft | Qt::AlignVCenter, "Tavrix skin demo");
    return picture;
}

// The background with every button face drawn one pixel up and left of its skin position.
QImage Sheet(const SheetStyle& style)
{
    QImage picture = Background();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const DemoButton& button : kButtons) {
        const QRectF face = QRectF(button.rect.translated(-1, -1)).adjusted(1, 1, -1, -1);
        painter.setPen(QPen(style.edge, 2));
        painter.setBrush(style.face);
        painter.drawRoundedRect(face, 6, 6);
    }
    return picture;
}

QImage SliderPicture(int position)
{
    QImage picture(200, 16, QImage::Format_RGB32);
    picture.fill(QColor(24, 28, 36));
    QPainter painter(&picture);
    painter.fillRect(QRect(0, 6, 200, 4), QColor(70, 78, 92));
    painter.fillRect(QRect(0, 6, position * 50, 4), QColor(255, 130, 0));
    painter.setBrush(QColor(255, 155, 4));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPoint(std::min(position * 50, 192), 8), 7, 7);
    return picture;
}

QString SkinFileText()
{
    QString text = "[SCREEN]\nMain=demo_back.png\n[BUTTONINFO]\n";
    for (const DemoButton& button : kButtons) {
        const QRect& r = button.rect;
        text += QString("%1=%2,%3,%4,%5,x\n").arg(button.key).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }
    text += "CONTROL_LightSlider=40,150,200,16\nCONTROL_LightStatic=260,144,190,28\n";
    return text;
}

} // namespace

bool WriteDemoSkin(const QString& folder)
{
    const QDir skins(folder + "/Skins");
    if (!QDir().mkpath(skins.path())) {
        return false;
    }
    bool written = Background().save(skins.filePath("demo_back.png"));
    for (const SheetStyle& style : kSheets) {
        written = Sheet(style).save(skins.filePath(style.file)) && written;
    }
    for (int position = 0; position <= 4; ++position) {
        written = SliderPicture(position).save(skins.filePath(QString("slider%1.png").arg(position))) && written;
    }
    QFile ini(skins.filePath("Demo.ini"));
    written = ini.open(QIODevice::WriteOnly) && ini.write(SkinFileText().toUtf8()) > 0 && written;
    return written;
}

} // namespace tavrix::skindemo
