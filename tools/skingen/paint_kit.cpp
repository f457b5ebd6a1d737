#include "paint_kit.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>

namespace tavrix::skingen {

namespace {

constexpr int kBigCut = 22;
constexpr int kSmallCut = 10;

struct CapColors {
    QColor skirt;
    QColor top;
    QColor bottom;
    QColor legend;
    QColor outline;
};

CapColors CapColorsOf(Appearance appearance)
{
    switch (appearance) {
    case Appearance::Hover:
        return {{24, 26, 30}, {62, 67, 78}, {50, 54, 63}, {255, 255, 255}, colors::kAccent};
    case Appearance::Pressed:
        return {{20, 21, 25}, {34, 37, 43}, {30, 32, 37}, colors::kAccent, colors::kAccent};
    case Appearance::Chosen:
        return {{110, 54, 0}, {58, 50, 44}, {46, 40, 35}, colors::kAccent, colors::kAccent};
    case Appearance::Greyed:
    case Appearance::Sunken:
        return {{22, 23, 26}, {36, 38, 43}, {32, 34, 38}, {90, 94, 102}, Qt::transparent};
    case Appearance::Rest:
        break;
    }
    return {{21, 23, 27}, {50, 54, 62}, {40, 43, 50}, colors::kText, Qt::transparent};
}

bool IsShiftedSymbol(const QString& text)
{
    return text.size() == 1 && text.at(0).unicode() < 128;
}

void PaintLegends(QPainter& painter, const QRectF& face, const QString& legend, const QString& legend2,
                  const QColor& color)
{
    painter.setPen(color);
    if (!legend2.isEmpty() && IsShiftedSymbol(legend2)) {
        painter.setFont(UiFont(11, QFont::DemiBold));
        painter.drawText(face.adjusted(0, 1, 0, -face.height() / 2), Qt::AlignCenter, legend2);
        painter.drawText(face.adjusted(0, face.height() / 2 - 1, 0, 0), Qt::AlignCenter, legend);
        return;
    }
    if (!legend2.isEmpty()) {
        painter.setFont(UiFont(12, QFont::DemiBold));
        painter.drawText(face.adjusted(0, 0, 0, -face.height() * 0.4), Qt::AlignHCenter | Qt::AlignBottom, legend);
        QColor sub = color;
        sub.setAlphaF(0.6);
        painter.setPen(sub);
        painter.setFont(UiFont(8));
        painter.drawText(face.adjusted(0, face.height() * 0.6, 0, 0), Qt::AlignHCenter | Qt::AlignTop, legend2);
        return;
    }
    const bool wide = face.width() > 48;
    if (legend.size() <= 2) {
        painter.setFont(UiFont(legend.size() == 1 ? 14 : 12, QFont::DemiBold));
        painter.drawText(face, Qt::AlignCenter, legend);
        return;
    }
    const int narrowSize = legend.size() >= 5 ? 8 : 9;
    painter.setFont(UiFont(wide ? 10 : narrowSize, QFont::DemiBold));
    if (wide)
        painter.drawText(face.adjusted(6, 0, -4, -4), Qt::AlignLeft | Qt::AlignBottom, legend);
    else
        painter.drawText(face, Qt::AlignCenter, legend);
}

QColor GlyphColorOf(Appearance appearance)
{
    switch (appearance) {
    case Appearance::Hover:
        return Qt::white;
    case Appearance::Pressed:
    case Appearance::Chosen:
        return colors::kAccent;
    case Appearance::Greyed:
    case Appearance::Sunken:
        return colors::kFaint;
    case Appearance::Rest:
        break;
    }
    return QColor(172, 177, 187);
}

} // namespace

Appearance AppearanceOf(Look look, Sheet sheet)
{
    switch (look) {
    case Look::Key:
    case Look::GKey: {
        const Appearance states[] = {Appearance::Rest, Appearance::Hover, Appearance::Pressed, Appearance::Chosen};
        return states[static_cast<int>(sheet)];
    }
    case Look::Choice: {
        // Pressing a choice chooses it, so the down sheet can serve as its selected look as well.
        const Appearance states[] = {Appearance::Rest, Appearance::Hover, Appearance::Chosen, Appearance::Chosen};
        return states[static_cast<int>(sheet)];
    }
    case Look::DKey:
    case Look::Push:
    case Look::Slanted:
    case Look::Icon:
    case Look::Close: {
        const Appearance states[] = {Appearance::Rest, Appearance::Hover, Appearance::Pressed, Appearance::Greyed};
        return states[static_cast<int>(sheet)];
    }
    case Look::Link: {
        const Appearance states[] = {Appearance::Rest, Appearance::Hover, Appearance::Pressed, Appearance::Pressed};
        return states[static_cast<int>(sheet)];
    }
    case Look::Tab: {
        const Appearance states[] = {Appearance::Rest, Appearance::Hover, Appearance::Chosen, Appearance::Greyed};
        return states[static_cast<int>(sheet)];
    }
    case Look::Bank:
        return sheet == Sheet::Over ? Appearance::Chosen : Appearance::Rest;
    default:
        return Appearance::Rest;
    }
}

QFont UiFont(int pixelSize, QFont::Weight weight)
{
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans"),
                      QStringLiteral("Sans Serif")});
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QPainterPath WindowShape(QSize size)
{
    const qreal w = size.width();
    const qreal h = size.height();
    QPolygonF outline;
    outline << QPointF(kBigCut, 0) << QPointF(w - kSmallCut, 0) << QPointF(w, kSmallCut) << QPointF(w, h - kBigCut)
            << QPointF(w - kBigCut, h) << QPointF(kSmallCut, h) << QPointF(0, h - kSmallCut) << QPointF(0, kBigCut);
    QPainterPath path;
    path.addPolygon(outline);
    path.closeSubpath();
    return path;
}

QImage MaskPicture(QSize size)
{
    QImage mask(size, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillPath(WindowShape(size), Qt::black);
    return mask;
}

void PaintWindowBody(QPainter& painter, QSize size, int titleHeight)
{
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    const QPainterPath shape = WindowShape(size);
    QLinearGradient body(0, 0, 0, size.height());
    body.setColorAt(0, colors::kWindowTop);
    body.setColorAt(1, colors::kWindowBottom);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillPath(shape, body);
    painter.save();
    painter.setClipPath(shape);
    painter.fillRect(QRect(0, 0, size.width(), titleHeight), colors::kTitleBar);
    painter.fillRect(QRect(0, titleHeight, size.width(), 1), colors::kEdge);
    // The accent stroke under the title, fading out to the right.
    QLinearGradient accent(0, 0, size.width() * 0.6, 0);
    accent.setColorAt(0, colors::kAccent);
    accent.setColorAt(1, QColor(255, 130, 0, 0));
    painter.fillRect(QRect(kBigCut, titleHeight - 1, size.width(), 2), accent);
    painter.restore();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(colors::kEdge, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shape.translated(0.5, 0.5).intersected(shape));
}

void PaintCard(QPainter& painter, const QRectF& rect, const QColor& fill, qreal radius)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 90));
    painter.drawRoundedRect(rect.translated(0, 2), radius, radius);
    painter.setBrush(fill);
    painter.setPen(QPen(colors::kEdge, 1));
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.setPen(QPen(QColor(255, 255, 255, 14), 1));
    painter.drawLine(rect.topLeft() + QPointF(radius, 1.5), rect.topRight() + QPointF(-radius, 1.5));
    painter.restore();
}

void PaintKeycap(QPainter& painter, const QRect& rect, const QString& legend, const QString& legend2,
                 Appearance appearance)
{
    const CapColors c = CapColorsOf(appearance);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QRectF outer = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(QColor(8, 9, 11), 1));
    painter.setBrush(c.skirt);
    painter.drawRoundedRect(outer, 5, 5);

    const bool pressed = appearance == Appearance::Pressed;
    const QRectF face = outer.adjusted(3, pressed ? 4 : 2, -3, pressed ? -2 : -5);
    QLinearGradient top(face.topLeft(), face.bottomLeft());
    top.setColorAt(0, c.top);
    top.setColorAt(1, c.bottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(top);
    painter.drawRoundedRect(face, 4, 4);
    painter.setPen(QPen(QColor(255, 255, 255, pressed ? 8 : 26), 1));
    painter.drawLine(face.topLeft() + QPointF(4, 0.5), face.topRight() + QPointF(-4, 0.5));

    if (c.outline != Qt::transparent) {
        painter.setPen(QPen(c.outline, appearance == Appearance::Hover ? 1.4 : 1.8));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(outer.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    }
    if (appearance == Appearance::Chosen) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colors::kAccent);
        painter.drawEllipse(QPointF(face.right() - 4, face.top() + 4), 2.2, 2.2);
    }
    PaintLegends(painter, face, legend, legend2, c.legend);
    painter.restore();
}

void PaintButton(QPainter& painter, const QRect& rect, Appearance appearance, const QString& text)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF r = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    QColor border = QColor(60, 65, 76);
    QColor textColor = colors::kText;
    qreal borderWidth = 1;
    switch (appearance) {
    case Appearance::Hover:
        fill.setColorAt(0, QColor(58, 63, 74));
        fill.setColorAt(1, QColor(46, 50, 59));
        border = colors::kAccent;
        textColor = Qt::white;
        break;
    case Appearance::Pressed:
        fill.setColorAt(0, QColor(26, 28, 33));
        fill.setColorAt(1, QColor(32, 35, 41));
        border = colors::kAccent;
        borderWidth = 1.6;
        textColor = colors::kAccent;
        break;
    case Appearance::Chosen:
        fill.setColorAt(0, QColor(50, 46, 44));
        fill.setColorAt(1, QColor(40, 37, 35));
        border = colors::kAccent;
        textColor = colors::kAccent;
        break;
    case Appearance::Sunken:
        fill.setColorAt(0, QColor(22, 24, 28));
        fill.setColorAt(1, QColor(28, 30, 35));
        border = QColor(54, 58, 67);
        textColor = QColor(150, 155, 166);
        break;
    case Appearance::Greyed:
        fill.setColorAt(0, QColor(30, 32, 37));
        fill.setColorAt(1, QColor(27, 29, 33));
        border = QColor(44, 47, 54);
        textColor = colors::kFaint;
        break;
    case Appearance::Rest:
        fill.setColorAt(0, QColor(46, 50, 59));
        fill.setColorAt(1, QColor(36, 39, 46));
        break;
    }
    painter.setPen(QPen(border, borderWidth));
    painter.setBrush(fill);
    painter.drawRoundedRect(r, 6, 6);
    if (appearance == Appearance::Rest || appearance == Appearance::Hover) {
        painter.setPen(QPen(QColor(255, 255, 255, 22), 1));
        painter.drawLine(r.topLeft() + QPointF(6, 1.5), r.topRight() + QPointF(-6, 1.5));
    }
    if (!text.isEmpty()) {
        painter.setPen(textColor);
        painter.setFont(UiFont(12, QFont::DemiBold));
        painter.drawText(r.translated(0, appearance == Appearance::Pressed ? 1 : 0), Qt::AlignCenter, text);
    }
    painter.restore();
}

void PaintChoice(QPainter& painter, const QRect& rect, Appearance appearance, const QString& text, const QString& unit)
{
    PaintButton(painter, rect, appearance);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (appearance == Appearance::Chosen) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colors::kAccent);
        painter.drawRoundedRect(QRectF(rect.left() + 8, rect.bottom() - 4, rect.width() - 16, 3), 1.5, 1.5);
    }
    if (!text.isEmpty()) {
        const QColor color =
            appearance == Appearance::Chosen || appearance == Appearance::Pressed ? colors::kAccent : colors::kText;
        painter.setPen(color);
        painter.setFont(UiFont(11, QFont::Bold));
        painter.drawText(QRectF(rect).adjusted(0, 3, 0, -rect.height() / 2 + 2), Qt::AlignHCenter | Qt::AlignBottom,
                         text);
        painter.setPen(colors::kMuted);
        painter.setFont(UiFont(8));
        painter.drawText(QRectF(rect).adjusted(0, rect.height() / 2 + 1, 0, -4), Qt::AlignHCenter | Qt::AlignTop, unit);
    }
    painter.restore();
}

void PaintIconButton(QPainter& painter, const QRect& rect, Appearance appearance, const QString& glyph,
                     bool dangerOnHover)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const bool framed = rect.width() >= 60;
    if (framed) {
        PaintButton(painter, rect, appearance);
    } else if (appearance == Appearance::Hover || appearance == Appearance::Pressed) {
        const QColor fill = dangerOnHover
                                ? (appearance == Appearance::Hover ? QColor(216, 58, 58) : QColor(160, 36, 36))
                                : (appearance == Appearance::Hover ? QColor(48, 52, 61) : QColor(22, 24, 28));
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    }
    QColor color = GlyphColorOf(appearance);
    if (dangerOnHover && appearance != Appearance::Rest && appearance != Appearance::Greyed)
        color = Qt::white;
    const qreal side = std::min(rect.width(), rect.height()) - 10;
    QRectF box(0, 0, side, side);
    box.moveCenter(QRectF(rect).center() + QPointF(0, appearance == Appearance::Pressed ? 1 : 0));
    PaintGlyph(painter, box, glyph, color);
    painter.restore();
}

void PaintCaptionBox(QPainter& painter, const QRect& rect, const QString& text, bool lit)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(lit ? colors::kAccent : colors::kEdge, 1));
    painter.setBrush(lit ? QColor(52, 32, 12) : QColor(18, 20, 23));
    painter.drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    painter.setPen(lit ? colors::kAccent : colors::kMuted);
    painter.setFont(UiFont(10, lit ? QFont::Bold : QFont::DemiBold));
    painter.drawText(rect, Qt::AlignCenter, text);
    painter.restore();
}

void PaintLamp(QPainter& painter, const QRect& rect, const QString& label)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QPointF led(rect.center().x() + 0.5, rect.top() + 9);
    QRadialGradient glow(led, 5);
    glow.setColorAt(0, QColor(255, 190, 110));
    glow.setColorAt(1, colors::kAccentDeep);
    painter.setPen(QPen(QColor(10, 11, 13), 1));
    painter.setBrush(glow);
    painter.drawEllipse(led, 3.5, 3.5);
    painter.setPen(colors::kMuted);
    painter.setFont(UiFont(9, QFont::DemiBold));
    painter.drawText(QRectF(rect).adjusted(0, 16, 0, 0), Qt::AlignHCenter | Qt::AlignTop, label);
    painter.restore();
}

void PaintBank(QPainter& painter, const QRect& rect, bool bankB)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF box = QRectF(rect).adjusted(3.5, 3.5, -3.5, -3.5);
    painter.setPen(QPen(colors::kEdge, 1));
    painter.setBrush(QColor(18, 20, 23));
    painter.drawRoundedRect(box, 4, 4);
    const QString letters[] = {QStringLiteral("A"), QStringLiteral("B")};
    for (int i = 0; i < 2; ++i) {
        const bool lit = (i == 1) == bankB;
        const QRectF half(box.left() + i * box.width() / 2, box.top(), box.width() / 2, box.height());
        if (lit) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(255, 130, 0, 60));
            painter.drawRoundedRect(half.adjusted(2, 2, -2, -2), 3, 3);
        }
        painter.setPen(lit ? colors::kAccent : colors::kFaint);
        painter.setFont(UiFont(13, QFont::Bold));
        painter.drawText(half, Qt::AlignCenter, letters[i]);
    }
    painter.restore();
}

void PaintTab(QPainter& painter, const QRect& rect, Appearance appearance)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF r = QRectF(rect).adjusted(0.5, 0.5, -0.5, 0);
    QColor fill(30, 33, 39);
    if (appearance == Appearance::Hover)
        fill = QColor(44, 48, 57);
    else if (appearance == Appearance::Chosen)
        fill = colors::kPanel;
    else if (appearance == Appearance::Greyed)
        fill = QColor(22, 24, 28);
    QPainterPath path;
    path.addRoundedRect(r.adjusted(0, 0, 0, 6), 6, 6);
    painter.setClipRect(rect);
    painter.setPen(QPen(appearance == Appearance::Chosen ? colors::kEdge : QColor(40, 43, 50), 1));
    painter.setBrush(fill);
    painter.drawPath(path);
    if (appearance == Appearance::Chosen || appearance == Appearance::Hover) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(appearance == Appearance::Chosen ? colors::kAccent : QColor(255, 130, 0, 110));
        painter.drawRoundedRect(QRectF(r.left() + 10, r.top() + 1, r.width() - 20, 3), 1.5, 1.5);
    }
    painter.restore();
}

QImage SheetFromScene(const QImage& scene)
{
    QImage sheet(scene.size(), QImage::Format_RGB32);
    sheet.fill(Qt::black);
    QPainter painter(&sheet);
    painter.drawImage(QPoint(-1, -1), scene);
    return sheet;
}

} // namespace tavrix::skingen
