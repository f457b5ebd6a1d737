#include <gtest/gtest.h>

#include "ui/editors/dialog_placement.h"

namespace tavrix::ui {
namespace {

constexpr int kWidth = 860;
constexpr int kHeight = 470;
// A second screen to the right of a first one of 1920 × 1080.
constexpr ScreenRect kScreen{1920, 0, 1920 + 1366, 768};

ScreenRect KeyAt(int x, int y)
{
    return {x, y, x + 40, y + 40};
}

TEST(DialogPlacement, BesideTheKeyWhereTheScreenHasRoom)
{
    const struct {
        const char* where;
        ScreenRect key;
        ScreenPoint expected;
    } cases[] = {
        {"top left: right and below", KeyAt(1930, 10), {1970, 50}},
        {"bottom left: right and above", KeyAt(1930, 700), {1970, 700 - kHeight}},
        {"touching the right edge: left and below", KeyAt(3286 - 40, 10), {3246 - kWidth, 50}},
        {"bottom right: left and above", KeyAt(3286 - 40, 700), {3246 - kWidth, 700 - kHeight}},
        {"right fits exactly", KeyAt(3286 - kWidth - 40, 10), {3286 - kWidth, 50}},
        {"no room on any side: right and below", KeyAt(2500, 300), {2540, 340}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlaceBesideKey(c.key, kWidth, kHeight, kScreen), c.expected) << c.where;
    }
}

TEST(DialogPlacement, CentredOnTheScreen)
{
    EXPECT_EQ(PlaceCentred(kWidth, kHeight, kScreen), (ScreenPoint{1920 + 253, 149}));
    EXPECT_EQ(PlaceCentred(101, 51, {0, 0, 200, 100}), (ScreenPoint{49, 24}));
}

} // namespace
} // namespace tavrix::ui
