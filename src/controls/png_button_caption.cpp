#include "controls/png_button_caption.h"

#include <QFontMetrics>
#include <QPainter>
#include <cmath>

#include "controls/png_button.h"

namespace tavrix::controls {

namespace {

struct FormatFlag {
    unsigned bit;
    int qtFlag;
};

// Left and top are the absence of the other bits.
constexpr FormatFlag kFormatFlags[] = {
    {TextFormat::Center, Qt::AlignHCenter},    {TextFormat::Right, Qt::AlignRight},
    {TextFormat::VCenter, Qt::AlignVCenter},   {TextFormat::Bottom, Qt::AlignBottom},
    {TextFormat::WordBreak, Qt::TextWordWrap}, {TextFormat::SingleLine, Qt::TextSingleLine},
};

constexpr double kPi = 3.1415927;

// The longest caption the button takes from its text.
constexpr qsizetype kMaxCaptionLength = 259;

int MulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0) {
        return -1;
    }
    return static_cast<int>(std::lround(static_cast<double>(number) * numerator / denominator));
}

} // namespace

QFont MakeCaptionFont(const QString& faceName, int pointSize, int dpiY, bool rotated)
{
    QFont font(faceName);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, MulDiv(pointSize, dpiY, 72)));
    font.setWeight(static_cast<QFont::Weight>(rotated ? CPngButton::kRotatedWeight : CPngButton::kNormalWeight));
    return font;
}

int QtTextFlags(unsigned format)
{
    int flags = 0;
    for (const FormatFlag& flag : kFormatFlags) {
        if ((format & flag.bit) != 0) {
            flags |= flag.qtFlag;
        }
    }
    if ((flags & Qt::AlignHorizontal_Mask) == 0) {
        flags |= Qt::AlignLeft;
    }
    if ((flags & Qt::AlignVertical_Mask) == 0) {
        flags |= Qt::AlignTop;
    }
    return flags;
}

QRect RotatedCaptionRect(const QRect& client, const QSize& textSize, int escapement)
{
    const double angle = escapement / 10.0 * kPi / 180.0;
    const int w = textSize.width();
    const int h = textSize.height();
    const int cx = static_cast<int>(w * std::cos(angle));
    const int cy = static_cast<int>(w * std::sin(angle));
    QRect placed = client;
    if (cx < client.width()) {
        placed.setLeft(placed.left() + (client.width() - cx) / 2 - static_cast<int>(h * std::sin(angle) * 0.5));
    }
    if (cy < client.height()) {
        placed.setBottom(placed.bottom() - (client.height() - cy) / 2 + static_cast<int>(h * std::cos(angle) * 0.5));
    }
    return placed;
}

void DrawCaption(QPainter& painter, const CaptionStyle& style, const QRect& client, const QString& text)
{
    const QString caption = text.left(kMaxCaptionLength);
    const int flags = QtTextFlags(style.format);
    painter.save();
    painter.setFont(style.font);
    painter.setPen(style.color);
    const QFontMetrics metrics(style.font);
    if (style.escapement == 0 && !style.rotated) {
        painter.drawText(client, flags, caption);
        painter.restore();
        return;
    }
    const QRect area = style.rotated
                           ? RotatedCaptionRect(client, metrics.size(Qt::TextSingleLine, caption), style.escapement)
                           : client;
    // Laid out as if upright, then turned about the text's start, as a turned font draws.
    const QRect upright = metrics.boundingRect(area, flags, caption);
    painter.translate(upright.topLeft());
    painter.rotate(-style.escapement / 10.0);
    painter.drawText(QRect(QPoint(0, 0), upright.size()), flags & ~Qt::AlignVertical_Mask & ~Qt::AlignHorizontal_Mask,
                     caption);
    painter.restore();
}

} // namespace tavrix::controls
