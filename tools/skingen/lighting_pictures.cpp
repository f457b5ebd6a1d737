#include <QPainter>

#include "paint_kit.h"
#include "skin_output.h"

namespace tavrix::skingen {

namespace {

// The slider's five stops: the slider turns pixel x into position (x + 10) * 4 / width, so
// stops spread from one end to the other land each inside its own position.
constexpr int kSliderStops = 5;
constexpr int kSliderPictures = 26;
constexpr int kSliderEnd = 8;
constexpr int kProgressFrames = 10;

QImage Blank(QSize size, const QColor& fill = colors::kPanel)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(fill);
    return picture;
}

qreal StopX(int stop)
{
    const qreal span = kSliderSize.width() - 2 * kSliderEnd;
    return kSliderEnd + span * stop / (kSliderStops - 1);
}

QImage SliderPicture(int position)
{
    const int stop = std::min(position, kSliderStops - 1);
    QImage picture = Blank(kSliderSize);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const qreal trackY = 10;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(44, 48, 56));
    painter.drawRoundedRect(QRectF(StopX(0) - 3, trackY - 2.5, StopX(4) - StopX(0) + 6, 5), 2.5, 2.5);
    QLinearGradient filled(StopX(0), 0, StopX(4), 0);
    filled.setColorAt(0, colors::kAccentDeep);
    filled.setColorAt(1, colors::kAccent);
    painter.setBrush(filled);
    painter.drawRoundedRect(QRectF(StopX(0) - 3, trackY - 2.5, StopX(stop) - StopX(0) + 6, 5), 2.5, 2.5);
    for (int s = 0; s < kSliderStops; ++s) {
        painter.setBrush(s <= stop ? QColor(255, 190, 120) : QColor(78, 83, 94));
        painter.drawEllipse(QPointF(StopX(s), trackY), 1.6, 1.6);
        painter.setPen(s == stop ? colors::kAccent : colors::kMuted);
        painter.setFont(UiFont(9, s == stop ? QFont::Bold : QFont::Normal));
        painter.drawText(QRectF(StopX(s) - 10, 18, 20, 12), Qt::AlignCenter, QString::number(s));
        painter.setPen(Qt::NoPen);
    }
    painter.setPen(QPen(colors::kAccent, 2));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(StopX(stop), trackY), 6, 6);
    return picture;
}

QImage TogglePicture(bool on)
{
    QImage picture = Blank(kTogglePictureSize);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF track = QRectF(QPointF(0, 0), kTogglePictureSize).adjusted(2, 3, -2, -3);
    painter.setPen(QPen(on ? colors::kAccent : QColor(70, 75, 86), 1));
    painter.setBrush(on ? colors::kAccent : QColor(40, 43, 50));
    painter.drawRoundedRect(track, track.height() / 2, track.height() / 2);
    const qreal r = track.height() / 2 - 3;
    const QPointF knob(on ? track.right() - r - 3 : track.left() + r + 3, track.center().y());
    painter.setPen(Qt::NoPen);
    painter.setBrush(on ? Qt::white : QColor(150, 155, 166));
    painter.drawEllipse(knob, r, r);
    return picture;
}

// A released or pressed picture button with a glyph drawn by draw.
template <typename Draw> QImage PictureButton(QSize size, bool pressed, Draw draw)
{
    QImage picture = Blank(size);
    QPainter painter(&picture);
    PaintButton(painter, QRect(QPoint(0, 0), size), pressed ? Appearance::Chosen : Appearance::Rest);
    painter.setRenderHint(QPainter::Antialiasing, true);
    draw(painter, QRectF(QPointF(0, 0), size), pressed ? colors::kAccent : QColor(190, 195, 204));
    return picture;
}

// An arrow whose tip is at tip, pointing along (dx, dy).
void Arrow(QPainter& painter, QPointF tip, qreal dx, qreal dy, const QColor& color)
{
    const QPointF along(dx, dy);
    const QPointF across(-dy, dx);
    QPainterPath path;
    path.moveTo(tip - along * 9);
    path.lineTo(tip);
    path.moveTo(tip - along * 4 + across * 4);
    path.lineTo(tip);
    path.lineTo(tip - along * 4 - across * 4);
    painter.setPen(QPen(color, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

// A chevron centred on centre, pointing along (dx, dy).
void Chevron(QPainter& painter, QPointF centre, qreal dx, qreal dy, const QColor& color)
{
    const QPointF along(dx, dy);
    const QPointF across(-dy, dx);
    QPainterPath path;
    path.moveTo(centre - along * 3 + across * 5);
    path.lineTo(centre + along * 2);
    path.lineTo(centre - along * 3 - across * 5);
    painter.setPen(QPen(color, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

// The direction pictures: three chevrons, fading behind the leading one, the way the light runs.
QImage DirectionPicture(qreal dx, qreal dy, bool pressed)
{
    return PictureButton(kDirectionPictureSize, pressed, [&](QPainter& p, const QRectF& r, const QColor& c) {
        const QPointF along(dx, dy);
        for (int i = -1; i <= 1; ++i) {
            QColor shade = c;
            shade.setAlphaF(0.45 + 0.275 * (i + 1));
            Chevron(p, r.center() + along * (i * 7.0), dx, dy, shade);
        }
    });
}

// Spread (outward from the middle) and gather (inward) for the ripple effect.
QImage RadialPicture(bool outward, bool pressed)
{
    return PictureButton(kDirectionPictureSize, pressed, [&](QPainter& p, const QRectF& r, const QColor& c) {
        const QPointF centre = r.center();
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(centre, 2.5, 2.5);
        const qreal sign = outward ? 1 : -1;
        Arrow(p, centre + QPointF(outward ? 18 : 6, 0), sign, 0, c);
        Arrow(p, centre - QPointF(outward ? 18 : 6, 0), -sign, 0, c);
    });
}

// All keys lit (filled lamps with a glow) or all dark (empty lamps).
QImage LampsPicture(bool lit, bool pressed)
{
    return PictureButton(kAllLampsPictureSize, pressed, [&](QPainter& p, const QRectF& r, const QColor& c) {
        if (lit) {
            // The lamps glow.
            QColor glow = c;
            glow.setAlphaF(0.3);
            p.setPen(Qt::NoPen);
            p.setBrush(glow);
            p.drawRoundedRect(QRectF(r.center().x() - 11, r.center().y() - 8, 21, 15), 3, 3);
        }
        p.setPen(lit ? Qt::NoPen : QPen(c, 1));
        p.setBrush(lit ? QBrush(c) : QBrush(Qt::NoBrush));
        for (int row = 0; row < 2; ++row) {
            for (int col = 0; col < 3; ++col) {
                p.drawRoundedRect(QRectF(r.center().x() - 8.5 + col * 6, r.center().y() - 5.5 + row * 6, 4, 4), 1, 1);
            }
        }
    });
}

// The per-key tools: light a key (a lit lamp) and darken a key (an empty lamp).
QImage ToolPicture(bool light, bool pressed)
{
    return PictureButton(kToolPictureSize, pressed, [&](QPainter& p, const QRectF& r, const QColor& c) {
        const QPointF centre = r.center();
        p.setPen(QPen(c, 1.8));
        p.setBrush(light ? QBrush(c) : Qt::NoBrush);
        p.drawEllipse(centre, 5, 5);
        if (!light)
            return;
        for (int i = 0; i < 8; ++i) {
            const qreal angle = i * M_PI / 4;
            const QPointF dir(std::cos(angle), std::sin(angle));
            p.drawLine(centre + dir * 8, centre + dir * 11);
        }
    });
}

QImage ProgressPicture(int frame)
{
    QImage picture = Blank(kProgressSize, QColor(16, 17, 20));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF track = QRectF(QPointF(0, 0), kProgressSize).adjusted(1, 4, -1, -4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 43, 50));
    painter.drawRoundedRect(track, 3, 3);
    // A short glowing run that sweeps from left to right over the ten frames.
    const qreal run = track.width() * 0.3;
    const qreal left = track.left() - run + (track.width() + run) * (frame + 1) / kProgressFrames;
    QLinearGradient glow(left, 0, left + run, 0);
    glow.setColorAt(0, QColor(255, 130, 0, 0));
    glow.setColorAt(1, colors::kAccent);
    painter.setClipRect(track);
    painter.setBrush(glow);
    painter.drawRoundedRect(QRectF(left, track.top(), run, track.height()), 3, 3);
    return picture;
}

QImage PalettePicture(const QColor& color, bool chosen)
{
    QImage picture = Blank(kPalettePictureSize);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(chosen ? Qt::white : QColor(20, 20, 20), chosen ? 2 : 1));
    painter.setBrush(color);
    painter.drawRoundedRect(QRectF(3, 3, 18, 18), 4, 4);
    return picture;
}

} // namespace

void WriteLightingPictures(SkinOutput& output)
{
    output.Save("dengup.bmp", TogglePicture(false));
    output.Save("dengdown.bmp", TogglePicture(true));
    output.Save("leftup.bmp", DirectionPicture(-1, 0, false));
    output.Save("leftdown.bmp", DirectionPicture(-1, 0, true));
    output.Save("rightup.bmp", DirectionPicture(1, 0, false));
    output.Save("rightdown.bmp", DirectionPicture(1, 0, true));
    output.Save("upup.bmp", DirectionPicture(0, -1, false));
    output.Save("updown.bmp", DirectionPicture(0, -1, true));
    output.Save("downup.bmp", DirectionPicture(0, 1, false));
    output.Save("downdown.bmp", DirectionPicture(0, 1, true));
    output.Save("kuosan.bmp", RadialPicture(true, false));
    output.Save("kuosandown.bmp", RadialPicture(true, true));
    output.Save("julong.bmp", RadialPicture(false, false));
    output.Save("julongdown.bmp", RadialPicture(false, true));
    output.Save("sjsup.bmp", LampsPicture(false, false));
    output.Save("sjsdown.bmp", LampsPicture(false, true));
    output.Save("ledup.bmp", LampsPicture(true, false));
    output.Save("leddown.bmp", LampsPicture(true, true));
    output.Save("user1up.bmp", ToolPicture(true, false));
    output.Save("user1down.bmp", ToolPicture(true, true));
    output.Save("user2up.bmp", ToolPicture(false, false));
    output.Save("user2down.bmp", ToolPicture(false, true));
    for (int frame = 0; frame < kProgressFrames; ++frame) {
        output.Save(QStringLiteral("jdt%1.bmp").arg(frame + 1), ProgressPicture(frame));
    }
    for (int position = 0; position < kSliderPictures; ++position) {
        output.Save(QStringLiteral("%1.bmp").arg(position), SliderPicture(position));
    }
    const std::pair<const char*, QColor> palette[] = {
        {"hong", QColor(230, 40, 40)},
        {"huang", QColor(250, 200, 30)},
        {"lv", QColor(40, 200, 80)},
        {"lan", QColor(40, 110, 240)},
    };
    for (const auto& [name, color] : palette) {
        output.Save(QStringLiteral("%1.bmp").arg(name), PalettePicture(color, false));
        output.Save(QStringLiteral("%1ok.bmp").arg(name), PalettePicture(color, true));
    }
}

} // namespace tavrix::skingen
