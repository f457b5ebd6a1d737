#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

// How an image button writes its caption over its picture.
namespace tavrix::controls {

struct CaptionStyle {
    QFont font;
    QColor color;
    unsigned format = 0; // TextFormat bits
    int escapement = 0;  // tenths of a degree, counter-clockwise
    bool rotated = false;
};

// The caption font: pixel height pointSize * dpiY / 72 rounded like the platform's MulDiv, heavy
// when rotated.
[[nodiscard]] QFont MakeCaptionFont(const QString& faceName, int pointSize, int dpiY, bool rotated);

// Qt's alignment and text flags for the TextFormat bits.
[[nodiscard]] int QtTextFlags(unsigned format);

// The rectangle a rotated caption of textSize is laid out in: the client rectangle with its left
// edge moved right and its bottom moved so the turned text sits centred.
[[nodiscard]] QRect RotatedCaptionRect(const QRect& client, const QSize& textSize, int escapement);

void DrawCaption(QPainter& painter, const CaptionStyle& style, const QRect& client, const QString& text);

} // namespace tavrix::controls
