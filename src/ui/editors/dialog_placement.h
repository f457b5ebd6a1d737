#pragma once

// Where the key-assignment dialog opens: beside the key's button, on the screen that holds it.
// Free of Qt so the rule can be checked at every screen edge without a display.
namespace tavrix::ui {

// A rectangle in screen coordinates; right and bottom lie just outside it.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;

    bool operator==(const ScreenPoint&) const = default;
};

// The top-left corner for a dialog of width × height beside the key: right of it and below,
// right and above, left and below, left and above, the first that fits on the screen; below and
// right of the key when none does.
[[nodiscard]] ScreenPoint PlaceBesideKey(const ScreenRect& key, int width, int height, const ScreenRect& screen);

// The top-left corner for a dialog of width × height in the middle of the screen.
[[nodiscard]] ScreenPoint PlaceCentred(int width, int height, const ScreenRect& screen);

} // namespace tavrix::ui
