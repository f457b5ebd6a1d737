#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <QString>

#include "skin_layout.h"

// The drawing vocabulary of the default skin: colours, fonts and the parts every window is made
// of (keycaps, buttons, glyphs, panels).
namespace tavrix::skingen {

// What a control shows on one sheet.
// Sunken serves a sheet that is both the pressed and the disabled look.
enum class Appearance { Rest, Hover, Pressed, Chosen, Greyed, Sunken };

namespace colors {
inline const QColor kWindowTop{24, 26, 31};
inline const QColor kWindowBottom{14, 15, 18};
inline const QColor kTitleBar{11, 12, 15};
inline const QColor kPlate{27, 29, 34};
inline const QColor kEdge{46, 50, 58};
inline const QColor kPanel{27, 30, 36};
inline const QColor kText{222, 225, 231};
inline const QColor kMuted{128, 133, 144};
inline const QColor kFaint{64, 68, 77};
inline const QColor kAccent{255, 130, 0};
inline const QColor kAccentDeep{200, 92, 0};
} // namespace colors

[[nodiscard]] Appearance AppearanceOf(Look look, Sheet sheet);

// A sans-serif face that exists here, falling back to one with Chinese glyphs.
[[nodiscard]] QFont UiFont(int pixelSize, QFont::Weight weight = QFont::Normal);

// The outline of a skinned window: a rectangle with cut corners.
[[nodiscard]] QPainterPath WindowShape(QSize size);
// The mask picture of a window: black inside the shape, pure white outside, no blended edge.
[[nodiscard]] QImage MaskPicture(QSize size);
// A window's dark body inside its shape, white outside, with a title bar of titleHeight.
void PaintWindowBody(QPainter& painter, QSize size, int titleHeight);
// A raised card (panel, keyboard plate).
void PaintCard(QPainter& painter, const QRectF& rect, const QColor& fill, qreal radius = 8);

void PaintKeycap(QPainter& painter, const QRect& rect, const QString& legend, const QString& legend2,
                 Appearance appearance);
// A framed button; text (may be empty) in the middle.
void PaintButton(QPainter& painter, const QRect& rect, Appearance appearance, const QString& text = {});
// A chosen button keeps an accent bar along its bottom edge.
void PaintChoice(QPainter& painter, const QRect& rect, Appearance appearance, const QString& text, const QString& unit);
// A glyph on a flat button (framed when the button is wide enough to read as one).
void PaintIconButton(QPainter& painter, const QRect& rect, Appearance appearance, const QString& glyph,
                     bool dangerOnHover = false);
void PaintGlyph(QPainter& painter, const QRectF& rect, const QString& glyph, const QColor& color);
// A static word in a framed well; lit shows it in the accent colour (the state it names is on).
void PaintCaptionBox(QPainter& painter, const QRect& rect, const QString& text, bool lit = false);
void PaintLamp(QPainter& painter, const QRect& rect, const QString& label);
void PaintBank(QPainter& painter, const QRect& rect, bool bankB);
void PaintTab(QPainter& painter, const QRect& rect, Appearance appearance);

// A control of the generic looks as it shows on sheet; the composite dialog's own looks (Title,
// Page) and None paint nothing here.
void PaintItem(QPainter& painter, const SkinItem& item, Sheet sheet);

// A sheet as the buttons cut it: a button at (x, y) takes its picture from (x - 1, y - 1).
[[nodiscard]] QImage SheetFromScene(const QImage& scene);

} // namespace tavrix::skingen
