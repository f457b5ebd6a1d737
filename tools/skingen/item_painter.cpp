#include <QPainter>

#include "paint_kit.h"

namespace tavrix::skingen {

namespace {

// G1 to G5 carry their bank caption ("A1", "B1") from the program, so their picture only tags
// the key in a corner; G6 to G9 carry their name.
constexpr int kCaptionedGKeys = 5;

void PaintGKey(QPainter& painter, const SkinItem& item, Appearance appearance)
{
    const int number = item.text.mid(1).toInt();
    if (number > kCaptionedGKeys) {
        PaintKeycap(painter, item.rect, item.text, {}, appearance);
        return;
    }
    PaintKeycap(painter, item.rect, {}, {}, appearance);
    painter.save();
    painter.setPen(appearance == Appearance::Chosen ? QColor(255, 196, 128) : colors::kMuted);
    painter.setFont(UiFont(8, QFont::DemiBold));
    painter.drawText(QRect(item.rect.left() + 6, item.rect.top() + 3, 20, 10), Qt::AlignLeft | Qt::AlignTop, item.text);
    painter.restore();
}

void PaintCaption(QPainter& painter, const SkinItem& item)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(colors::kEdge, 1));
    painter.setBrush(QColor(18, 20, 23));
    painter.drawRoundedRect(QRectF(item.rect).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    painter.setPen(colors::kMuted);
    painter.setFont(UiFont(10, QFont::DemiBold));
    painter.drawText(item.rect, Qt::AlignCenter, item.text);
    painter.restore();
}

} // namespace

void PaintItem(QPainter& painter, const SkinItem& item, Sheet sheet)
{
    const Appearance appearance = AppearanceOf(item.look, sheet);
    switch (item.look) {
    case Look::Key:
        PaintKeycap(painter, item.rect, item.text, item.text2, appearance);
        break;
    case Look::GKey:
        PaintGKey(painter, item, appearance);
        break;
    case Look::Choice:
        PaintChoice(painter, item.rect, appearance, item.text, item.text2);
        break;
    case Look::Push:
    case Look::Labelled:
        PaintButton(painter, item.rect, appearance, item.text);
        break;
    case Look::Icon:
    case Look::Link:
        PaintIconButton(painter, item.rect, appearance, item.text);
        break;
    case Look::Close:
        PaintIconButton(painter, item.rect, appearance, item.text, true);
        break;
    case Look::Lamp:
        PaintLamp(painter, item.rect, item.text);
        break;
    case Look::Bank:
        PaintBank(painter, item.rect, appearance == Appearance::Chosen);
        break;
    case Look::Caption:
        PaintCaption(painter, item);
        break;
    case Look::Tab:
        PaintTab(painter, item.rect, appearance);
        break;
    case Look::None:
    case Look::Title:
    case Look::Page:
        break;
    }
}

} // namespace tavrix::skingen
