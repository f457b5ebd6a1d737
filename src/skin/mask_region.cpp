#include "skin/mask_region.h"

#include <algorithm>
#include <vector>

namespace tavrix::skin {

namespace {

// Rectangles are turned into a region and joined to the result this many at a time.
constexpr size_t kRectBatch = 2000;

struct ChannelRange {
    int low;
    int high;
    bool Holds(int value) const { return value >= low && value <= high; }
};

ChannelRange RangeOf(int channel, int tolerance)
{
    return {channel, std::min(255, channel + tolerance)};
}

void JoinBatch(QRegion& result, std::vector<QRect>& batch)
{
    if (batch.empty()) {
        return;
    }
    QRegion part;
    part.setRects(batch.data(), static_cast<int>(batch.size()));
    result = result.united(part);
    batch.clear();
}

} // namespace

std::optional<QRegion> MakeRegionFromMask(const QImage& mask, const QColor& transparent, const QColor& tolerance)
{
    if (mask.isNull()) {
        return std::nullopt;
    }
    const QImage pixels = mask.convertToFormat(QImage::Format_RGB32);
    const ChannelRange red = RangeOf(transparent.red(), tolerance.red());
    const ChannelRange green = RangeOf(transparent.green(), tolerance.green());
    const ChannelRange blue = RangeOf(transparent.blue(), tolerance.blue());
    const auto isTransparent = [&](QRgb pixel) {
        return red.Holds(qRed(pixel)) && green.Holds(qGreen(pixel)) && blue.Holds(qBlue(pixel));
    };

    QRegion result;
    std::vector<QRect> batch;
    batch.reserve(kRectBatch);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < pixels.width()) {
            while (x < pixels.width() && isTransparent(row[x])) {
                ++x;
            }
            const int runStart = x;
            while (x < pixels.width() && !isTransparent(row[x])) {
                ++x;
            }
            if (x > runStart) {
                batch.emplace_back(runStart, y, x - runStart, 1);
            }
            if (batch.size() == kRectBatch) {
                JoinBatch(result, batch);
            }
        }
    }
    JoinBatch(result, batch);
    return result;
}

} // namespace tavrix::skin
