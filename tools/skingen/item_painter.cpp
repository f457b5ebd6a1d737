#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "paint_kit.h"

namespace tavrix::skingen {

namespace {

// G1 to G5 carry their bank caption ("A1", "B1") from the program, so only G6 to G9 carry their
// name in the picture.
constexpr int kCaptionedGKeys = 5;

void PaintGKey(QPainter& painter, const SkinItem& item, Appearance appearance)
{
    const bool captioned = item.text.mid(1).toInt() <= kCaptionedGKeys;
    PaintKeycap(painter, item.rect, captioned ? QString() : item.text, {}, appearance);
}

// The caption rises at this angle; the stripes follow it so the slant reads as meant.
constexpr qreal kCaptionAngle = 26.8;

void PaintSlanted(QPainter& painter, const SkinItem& item, Appearance appearance)
{
    PaintButton(painter, item.rect, appearance);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath inside;
    inside.addRoundedRect(QRectF(item.rect).adjusted(1.5, 1.5, -1.5, -1.5), 5, 5);
    painter.setClipPath(inside);
    // Stripes parallel to the caption, framing the band it runs along.
    const qreal angle = kCaptionAngle * M_PI / 180;
    const QPointF along(std::cos(angle), -std::sin(angle));
    const QPointF normal(std::sin(angle), std::cos(angle));
    const QPointF centre = QRectF(item.rect).center();
    QColor stripe = appearance == Appearance::Rest ? QColor(255, 130, 0, 110) : colors::kAccent;
    for (qreal offset : {-30.0, 30.0, 40.0, 50.0}) {
        const QPointF at = centre + normal * offset;
        painter.setPen(QPen(stripe, offset < 0 ? 1 : 3));
        painter.drawLine(at - along * 400, at + along * 400);
        if (offset > 0)
            stripe.setAlphaF(stripe.alphaF() * 0.6);
    }
    painter.restore();
}

} // namespace

void PaintItem(QPainter& painter, const SkinItem& item, Sheet sheet)
{
    const Appearance appearance = AppearanceOf(item.look, sheet);
    switch (item.look) {
    case Look::Key:
    case Look::DKey:
        PaintKeycap(painter, item.rect, item.text, item.text2, appearance);
        break;
    case Look::GKey:
        PaintGKey(painter, item, appearance);
        break;
    case Look::Choice:
        PaintChoice(painter, item.rect, appearance, item.text, item.text2);
        break;
    case Look::Slanted:
        PaintSlanted(painter, item, appearance);
        break;
    case Look::Push:
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
        PaintCaptionBox(painter, item.rect, item.text);
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
