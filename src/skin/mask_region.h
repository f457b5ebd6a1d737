#pragma once

#include <QColor>
#include <QImage>
#include <QRegion>
#include <optional>

// The shape of a skinned window, cut from a mask picture.
namespace tavrix::skin {

// The union of the picture's pixels outside the transparent range: a pixel is transparent when
// each of its channels lies between transparent's channel and that plus tolerance's channel
// (capped at 255). Nothing for a null picture; an empty region for a wholly transparent one.
[[nodiscard]] std::optional<QRegion> MakeRegionFromMask(const QImage& mask, const QColor& transparent,
                                                        const QColor& tolerance);

} // namespace tavrix::skin
