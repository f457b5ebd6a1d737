#include <QPainter>

#include "paint_kit.h"
#include "skin_output.h"

namespace tavrix::skingen {

namespace {

constexpr int kTraySize = 64;
constexpr int kAppSize = 256;
// The sizes desktops look up in the hicolor icon theme (menus, panels, launchers, software
// centres).
constexpr int kThemeIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QImage Transparent(int side)
{
    QImage picture(side, side, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    return picture;
}

// A small keyboard: body in body colour, keys in key colour.
void PaintKeyboard(QPainter& painter, qreal side, const QColor& body, const QColor& keys)
{
    const qreal u = side / 64;
    painter.setPen(Qt::NoPen);
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(4 * u, 16 * u, 56 * u, 34 * u), 6 * u, 6 * u);
    painter.setBrush(keys);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 7; ++col) {
            painter.drawRoundedRect(QRectF((9 + col * 7) * u, (21 + row * 7) * u, 5 * u, 5 * u), 1.2 * u, 1.2 * u);
        }
    }
    painter.drawRoundedRect(QRectF(16 * u, 42 * u, 32 * u, 4 * u), 1.2 * u, 1.2 * u);
}

// 128: no keyboard (grey, struck out); 141: keyboard present (green); 142: the keyboard reports
// itself busy (orange, with a large badge). Told apart by colour and shape even at 16 pixels.
QImage TrayIcon(int id)
{
    QImage picture = Transparent(kTraySize);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (id == 128) {
        PaintKeyboard(painter, kTraySize, QColor(96, 100, 110), QColor(40, 42, 48));
        painter.setPen(QPen(QColor(230, 70, 60), 5, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(12, 56), QPointF(52, 10));
        return picture;
    }
    if (id == 141) {
        PaintKeyboard(painter, kTraySize, QColor(46, 170, 76), QColor(12, 40, 20));
        return picture;
    }
    PaintKeyboard(painter, kTraySize, colors::kAccent, QColor(40, 24, 8));
    // An hourglass badge over the keyboard's right half.
    painter.setPen(QPen(QColor(20, 20, 20), 3));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(44, 22), 18, 18);
    QPolygonF glass;
    glass << QPointF(36, 10) << QPointF(52, 10) << QPointF(44, 22) << QPointF(52, 34) << QPointF(36, 34)
          << QPointF(44, 22);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colors::kAccentDeep);
    painter.drawPolygon(glass);
    return picture;
}

// The application icon: an accent keycap with the program's initial, drawn at 256 pixels and
// scaled as a drawing, so every size is painted sharp rather than shrunk from a picture.
QImage AppIcon(int side)
{
    QImage picture = Transparent(side);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.scale(qreal(side) / kAppSize, qreal(side) / kAppSize);
    const QRectF cap(20, 20, 216, 216);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 32, 38));
    painter.drawRoundedRect(cap, 44, 44);
    QLinearGradient top(0, 36, 0, 196);
    top.setColorAt(0, QColor(255, 160, 40));
    top.setColorAt(1, colors::kAccentDeep);
    painter.setBrush(top);
    painter.drawRoundedRect(cap.adjusted(18, 12, -18, -30), 32, 32);
    painter.setPen(QColor(30, 18, 6));
    painter.setFont(UiFont(120, QFont::Black));
    painter.drawText(cap.adjusted(18, 12, -18, -30), Qt::AlignCenter, QStringLiteral("T"));
    return picture;
}

} // namespace

void WriteIcons(SkinOutput& output)
{
    for (int id : {128, 141, 142}) {
        output.Save(QStringLiteral("%1.png").arg(id), TrayIcon(id));
    }
    output.Save("tavrix.png", AppIcon(kAppSize));
}

QStringList WriteThemeIcons(const QString& themeFolder)
{
    QStringList failures;
    for (int side : kThemeIconSizes) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(side);
        SkinOutput output(themeFolder + "/" + folder, {});
        output.Save(QStringLiteral("tavrix.png"), AppIcon(side));
        for (const QString& name : output.Failures()) {
            failures << folder + "/" + name;
        }
    }
    return failures;
}

} // namespace tavrix::skingen
