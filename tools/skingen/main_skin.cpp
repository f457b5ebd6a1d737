#include <QPainter>
#include <QStringList>

#include "paint_kit.h"
#include "skin_output.h"

namespace tavrix::skingen {

namespace {

constexpr int kTitleHeight = 50;
const QRectF kPlate(kMainPlate);
const QRectF kPanel(kMainPanel);

void PaintBrand(QPainter& painter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPolygonF mark;
    mark << QPointF(26, 16) << QPointF(44, 16) << QPointF(38, 34) << QPointF(20, 34);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colors::kAccent);
    painter.drawPolygon(mark);
    painter.setPen(Qt::white);
    painter.setFont(UiFont(19, QFont::Black));
    painter.drawText(QRect(52, 10, 100, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("TAVRIX"));
    painter.setPen(colors::kMuted);
    painter.setFont(UiFont(10, QFont::DemiBold));
    painter.drawText(QRect(0, 10, 1110, 30), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("PL3094V  GAMING KEYBOARD"));
    painter.restore();
}

void PaintPlateDetails(QPainter& painter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QColor(60, 64, 73));
    painter.setFont(UiFont(10, QFont::Bold));
    painter.drawText(QRectF(kPlate.left(), 118, kPlate.width() - 16, 28), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("PL3094V"));
    // The G-key column and the key field sit in shallow wells.
    painter.setPen(QPen(QColor(12, 13, 15), 1));
    painter.setBrush(QColor(20, 22, 26));
    painter.drawRoundedRect(QRectF(28.5, 150.5, 57, 265), 6, 6);
    painter.drawRoundedRect(QRectF(98.5, 150.5, 928, 265), 6, 6);
    painter.restore();
}

void PaintPanelDetails(QPainter& painter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient line(kPanel.left() + 12, 0, kPanel.right() - 12, 0);
    line.setColorAt(0, colors::kAccent);
    line.setColorAt(1, QColor(255, 130, 0, 0));
    painter.fillRect(QRectF(kPanel.left() + 12, 106, kPanel.width() - 24, 1), line);
    // A dimmed spectrum along the panel's foot: the panel is about light.
    const QRectF foot(kPanel.left() + 12, kPanel.bottom() - 16, kPanel.width() - 24, 4);
    QLinearGradient spectrum(foot.left(), 0, foot.right(), 0);
    for (int i = 0; i <= 6; ++i) {
        spectrum.setColorAt(i / 6.0, QColor::fromHsv((i * 60) % 360, 200, 150));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(spectrum);
    painter.drawRoundedRect(foot, 2, 2);
    painter.restore();
}

QImage MainScene(const WindowLayout& layout, Sheet sheet)
{
    QImage scene(layout.size, QImage::Format_RGB32);
    QPainter painter(&scene);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    PaintWindowBody(painter, layout.size, kTitleHeight);
    PaintBrand(painter);
    PaintCard(painter, kPlate, colors::kPlate, 10);
    PaintPlateDetails(painter);
    PaintCard(painter, kPanel, colors::kPanel, 8);
    PaintPanelDetails(painter);
    painter.fillRect(QRect(18, kMainClosingRuleY, 1244, 1), colors::kEdge);
    for (const SkinItem& item : layout.items) {
        PaintItem(painter, item, sheet);
    }
    return scene;
}

// The look of the swapped top row, the program's second normal sheet: F1 to F4 greyed and the
// swap caption naming D1 to D6.
QImage FlippedScene(const WindowLayout& layout)
{
    QImage scene = MainScene(layout, Sheet::Normal);
    QPainter painter(&scene);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const SkinItem& item : layout.items) {
        if (item.key == QLatin1String("FLIP_0")) {
            PaintCaptionBox(painter, item.rect, item.text2, true);
        } else if (QStringList{"KEY_03B", "KEY_03C", "KEY_03D", "KEY_03E"}.contains(item.key)) {
            PaintKeycap(painter, item.rect, item.text, item.text2, Appearance::Greyed);
        }
    }
    return scene;
}

// The arrows beside the row-swap buttons, cut from their own picture at their BUTTONINFO2 places.
QImage ArrowPicture(const WindowLayout& layout)
{
    QImage picture(80, 30, QImage::Format_RGB32);
    picture.fill(colors::kPlate);
    QPainter painter(&picture);
    for (const SkinItem& item : layout.imageOffsets) {
        if (item.look == Look::None)
            continue;
        const QRectF at(item.rect.x() - 1, item.rect.y() - 1, item.rect.width(), item.rect.height());
        PaintGlyph(painter, at.adjusted(0, 4, 0, -4), item.text, colors::kAccent);
    }
    return picture;
}

// Colour strips the window loads as sheets; no control shows them.
QImage ColorStrip(bool hue)
{
    QImage picture(360, 40, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient strip(0, 0, 360, 0);
    for (int i = 0; i <= 6; ++i) {
        strip.setColorAt(i / 6.0, hue ? QColor::fromHsv((i * 60) % 360, 255, 255) : QColor::fromHsv(30, 0, i * 42));
    }
    painter.fillRect(picture.rect(), strip);
    return picture;
}

} // namespace

void WriteMainSkin(SkinOutput& output)
{
    const WindowLayout layout = MainLayout();
    const std::pair<Sheet, const char*> sheets[] = {
        {Sheet::Normal, "main_normal.jpg"},
        {Sheet::Over, "main_over.jpg"},
        {Sheet::Down, "main_down.jpg"},
        {Sheet::Disable, "main_disable.jpg"},
    };
    for (const auto& [sheet, name] : sheets) {
        output.Save(name, SheetFromScene(MainScene(layout, sheet)));
    }
    output.Save("main_flip.jpg", SheetFromScene(FlippedScene(layout)));
    output.Save("main_bg.png", MainScene(layout, Sheet::Normal));
    output.Save("main_mask.png", MaskPicture(layout.size));
    output.Save("Arrow.jpg", ArrowPicture(layout));
    output.Save("main_color0.jpg", ColorStrip(true));
    output.Save("main_color1.jpg", ColorStrip(false));
    output.WriteIni(layout, {{"Main", "main_bg.png"},
                             {"Mask", "main_mask.png"},
                             {"Link", "https://tavrix.example/"},
                             {"Facebook_Link", "https://tavrix.example/community"},
                             {"Twitter_Link", "https://tavrix.example/news"}});
}

} // namespace tavrix::skingen
