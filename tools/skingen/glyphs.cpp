#include <QPainter>
#include <QPainterPath>

#include "paint_kit.h"

// The glyphs of the skin's icon buttons, drawn as strokes in a box so they stay crisp at any
// button size.
namespace tavrix::skingen {

namespace {

void StrokeGlyph(QPainter& painter, const QPainterPath& path, const QColor& color, qreal width = 1.8)
{
    painter.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

} // namespace

void PaintGlyph(QPainter& painter, const QRectF& r, const QString& glyph, const QColor& color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const qreal l = r.left();
    const qreal t = r.top();
    const qreal w = r.width();
    const qreal h = r.height();
    auto at = [&](qreal fx, qreal fy) { return QPointF(l + fx * w, t + fy * h); };
    QPainterPath path;
    if (glyph == "menu") {
        for (qreal fy : {0.25, 0.5, 0.75}) {
            path.moveTo(at(0.15, fy));
            path.lineTo(at(0.85, fy));
        }
    } else if (glyph == "minimize") {
        path.moveTo(at(0.2, 0.72));
        path.lineTo(at(0.8, 0.72));
    } else if (glyph == "close") {
        path.moveTo(at(0.22, 0.22));
        path.lineTo(at(0.78, 0.78));
        path.moveTo(at(0.78, 0.22));
        path.lineTo(at(0.22, 0.78));
    } else if (glyph == "help") {
        path.addEllipse(r.adjusted(w * 0.06, h * 0.06, -w * 0.06, -h * 0.06));
        StrokeGlyph(painter, path, color, 1.5);
        painter.setPen(color);
        painter.setFont(UiFont(static_cast<int>(h * 0.62), QFont::Bold));
        painter.drawText(r, Qt::AlignCenter, QStringLiteral("?"));
        painter.restore();
        return;
    } else if (glyph == "globe") {
        path.addEllipse(r.adjusted(2, 2, -2, -2));
        path.addEllipse(QRectF(at(0.33, 0.08), at(0.67, 0.92)));
        path.moveTo(at(0.08, 0.5));
        path.lineTo(at(0.92, 0.5));
        path.moveTo(at(0.16, 0.3));
        path.lineTo(at(0.84, 0.3));
        path.moveTo(at(0.16, 0.7));
        path.lineTo(at(0.84, 0.7));
    } else if (glyph == "people") {
        path.addEllipse(QRectF(at(0.34, 0.12), at(0.66, 0.44)));
        path.moveTo(at(0.14, 0.9));
        path.cubicTo(at(0.18, 0.52), at(0.82, 0.52), at(0.86, 0.9));
        path.closeSubpath();
    } else if (glyph == "chat") {
        path.addRoundedRect(QRectF(at(0.1, 0.16), at(0.9, 0.7)), w * 0.12, h * 0.12);
        path.moveTo(at(0.3, 0.7));
        path.lineTo(at(0.24, 0.9));
        path.lineTo(at(0.48, 0.7));
    } else if (glyph == "swap") {
        path.moveTo(at(0.2, 0.35));
        path.lineTo(at(0.8, 0.35));
        path.moveTo(at(0.62, 0.18));
        path.lineTo(at(0.8, 0.35));
        path.lineTo(at(0.62, 0.52));
        path.moveTo(at(0.8, 0.68));
        path.lineTo(at(0.2, 0.68));
        path.moveTo(at(0.38, 0.51));
        path.lineTo(at(0.2, 0.68));
        path.lineTo(at(0.38, 0.85));
    } else if (glyph == "arrow-up" || glyph == "up") {
        path.moveTo(at(0.2, 0.62));
        path.lineTo(at(0.5, 0.32));
        path.lineTo(at(0.8, 0.62));
    } else if (glyph == "arrow-down" || glyph == "down") {
        path.moveTo(at(0.2, 0.38));
        path.lineTo(at(0.5, 0.68));
        path.lineTo(at(0.8, 0.38));
    } else if (glyph == "top") {
        path.moveTo(at(0.2, 0.7));
        path.lineTo(at(0.5, 0.4));
        path.lineTo(at(0.8, 0.7));
        path.moveTo(at(0.2, 0.24));
        path.lineTo(at(0.8, 0.24));
    } else if (glyph == "bottom") {
        path.moveTo(at(0.2, 0.3));
        path.lineTo(at(0.5, 0.6));
        path.lineTo(at(0.8, 0.3));
        path.moveTo(at(0.2, 0.76));
        path.lineTo(at(0.8, 0.76));
    } else if (glyph == "plus") {
        path.moveTo(at(0.5, 0.2));
        path.lineTo(at(0.5, 0.8));
        path.moveTo(at(0.2, 0.5));
        path.lineTo(at(0.8, 0.5));
    } else if (glyph == "minus") {
        path.moveTo(at(0.2, 0.5));
        path.lineTo(at(0.8, 0.5));
    } else if (glyph == "delete") {
        path.moveTo(at(0.36, 0.24));
        path.lineTo(at(0.88, 0.24));
        path.lineTo(at(0.88, 0.76));
        path.lineTo(at(0.36, 0.76));
        path.lineTo(at(0.1, 0.5));
        path.closeSubpath();
        path.moveTo(at(0.48, 0.38));
        path.lineTo(at(0.72, 0.62));
        path.moveTo(at(0.72, 0.38));
        path.lineTo(at(0.48, 0.62));
    } else if (glyph == "trash") {
        path.moveTo(at(0.16, 0.26));
        path.lineTo(at(0.84, 0.26));
        path.moveTo(at(0.38, 0.26));
        path.lineTo(at(0.42, 0.14));
        path.lineTo(at(0.58, 0.14));
        path.lineTo(at(0.62, 0.26));
        path.moveTo(at(0.24, 0.26));
        path.lineTo(at(0.3, 0.88));
        path.lineTo(at(0.7, 0.88));
        path.lineTo(at(0.76, 0.26));
    } else if (glyph == "play") {
        path.moveTo(at(0.3, 0.18));
        path.lineTo(at(0.8, 0.5));
        path.lineTo(at(0.3, 0.82));
        path.closeSubpath();
    } else if (glyph == "next" || glyph == "previous") {
        const bool next = glyph == "next";
        auto mirrored = [&](qreal fx, qreal fy) { return at(next ? fx : 1 - fx, fy); };
        path.moveTo(mirrored(0.16, 0.22));
        path.lineTo(mirrored(0.52, 0.5));
        path.lineTo(mirrored(0.16, 0.78));
        path.closeSubpath();
        path.moveTo(mirrored(0.5, 0.22));
        path.lineTo(mirrored(0.86, 0.5));
        path.lineTo(mirrored(0.5, 0.78));
        path.closeSubpath();
    } else if (glyph == "volume") {
        path.moveTo(at(0.12, 0.38));
        path.lineTo(at(0.3, 0.38));
        path.lineTo(at(0.52, 0.18));
        path.lineTo(at(0.52, 0.82));
        path.lineTo(at(0.3, 0.62));
        path.lineTo(at(0.12, 0.62));
        path.closeSubpath();
        path.moveTo(at(0.66, 0.34));
        path.quadTo(at(0.76, 0.5), at(0.66, 0.66));
        path.moveTo(at(0.76, 0.2));
        path.quadTo(at(0.96, 0.5), at(0.76, 0.8));
    } else if (glyph == "keyboard") {
        path.addRoundedRect(QRectF(at(0.04, 0.22), at(0.96, 0.8)), 2, 2);
        for (qreal fx : {0.2, 0.36, 0.52, 0.68, 0.84}) {
            path.moveTo(at(fx, 0.4));
            path.lineTo(at(fx + 0.01, 0.4));
        }
        path.moveTo(at(0.3, 0.62));
        path.lineTo(at(0.7, 0.62));
    } else if (glyph == "eraser") {
        path.moveTo(at(0.12, 0.62));
        path.lineTo(at(0.52, 0.18));
        path.lineTo(at(0.88, 0.5));
        path.lineTo(at(0.56, 0.86));
        path.lineTo(at(0.34, 0.86));
        path.closeSubpath();
        path.moveTo(at(0.32, 0.4));
        path.lineTo(at(0.7, 0.72));
        path.moveTo(at(0.56, 0.86));
        path.lineTo(at(0.92, 0.86));
    }
    StrokeGlyph(painter, path, color);
    painter.restore();
}

} // namespace tavrix::skingen
