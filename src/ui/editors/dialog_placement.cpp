#include "ui/editors/dialog_placement.h"

namespace tavrix::ui {

ScreenPoint PlaceBesideKey(const ScreenRect& key, int width, int height, const ScreenRect& screen)
{
    const bool rightFits = screen.right - key.right >= width;
    const bool leftFits = key.left - screen.left >= width;
    const bool belowFits = screen.bottom - key.bottom >= height;
    const bool aboveFits = key.top - screen.top >= height;
    const int right = key.right;
    const int left = key.left - width;
    const int below = key.bottom;
    const int above = key.top - height;
    if (rightFits && belowFits) {
        return {right, below};
    }
    if (rightFits && aboveFits) {
        return {right, above};
    }
    if (leftFits && belowFits) {
        return {left, below};
    }
    if (leftFits && aboveFits) {
        return {left, above};
    }
    return {right, below};
}

ScreenPoint PlaceCentred(int width, int height, const ScreenRect& screen)
{
    return {screen.left + (screen.right - screen.left - width) / 2,
            screen.top + (screen.bottom - screen.top - height) / 2};
}

} // namespace tavrix::ui
