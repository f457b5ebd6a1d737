#include <gtest/gtest.h>

#include "controls/bitmap_slider.h"
#include "ui_testing.h"

namespace tavrix::controls {
namespace {

using testing::Pump;
using testing::RecordingWindow;

constexpr int kSliderId = 1178;

class BitmapSliderTest : public testing::UiTest {
protected:
    void SetUp() override
    {
        window = std::make_unique<RecordingWindow>();
        slider = new CBitmapSlider(kSliderId, window.get());
        slider->move(10, 10);
        QPixmap picture(200, 12);
        picture.fill(Qt::darkGray);
        slider->InitSliderPicture(picture);
        slider->SetSliderPicture(picture);
        slider->SetSliderRange(0, 4);
        slider->SetSliderPage(10);
        slider->SetSliderPos(2);
    }

    // The positions posted since the last call.
    std::vector<LParam> Posted()
    {
        Pump();
        std::vector<LParam> positions;
        for (const auto& message : window->messages) {
            EXPECT_EQ(message.message, UM_SLIDER);
            EXPECT_EQ(message.wParam, static_cast<WParam>(kSliderId));
            positions.push_back(message.lParam);
        }
        window->messages.clear();
        return positions;
    }

    std::unique_ptr<RecordingWindow> window;
    CBitmapSlider* slider = nullptr;
};

TEST(SliderScaleTest, PixelsAndPositions)
{
    const SliderScale scale{0, 4, 200};
    const struct {
        int x;
        int position;
    } positions[] = {{30, 0}, {40, 1}, {89, 1}, {90, 2}, {190, 4}, {199, 4}, {-10, 0}, {-60, -1}, {400, 8}};
    for (const auto& c : positions) {
        EXPECT_EQ(scale.PositionOf(c.x), c.position) << "x " << c.x;
    }
    EXPECT_EQ(scale.PixelOf(2), 100);
    EXPECT_EQ(scale.PixelOf(3), 150);
    EXPECT_EQ((SliderScale{5, 5, 200}).PixelOf(5), 0);
    EXPECT_EQ((SliderScale{5, 5, 200}).PositionOf(50), 5);
    EXPECT_EQ((SliderScale{0, 4, 0}).PositionOf(50), 0);
}

TEST_F(BitmapSliderTest, TakesThePictureSizeAndKeepsItsPlace)
{
    EXPECT_EQ(slider->geometry(), QRect(10, 10, 200, 12));
}

TEST_F(BitmapSliderTest, PressSetsThePositionOfTheClickedPixelAndPosts)
{
    const struct {
        int x;
        int position;
    } cases[] = {{30, 0}, {40, 1}, {190, 4}, {199, 4}};
    for (const auto& c : cases) {
        slider->SetSliderPos(2);
        testing::Press(*slider, QPoint(c.x, 5));
        EXPECT_EQ(slider->GetSliderPos(), c.position) << "x " << c.x;
        EXPECT_EQ(Posted(), std::vector<LParam>{c.position}) << "x " << c.x;
        testing::Release(*slider, QPoint(c.x, 5));
        Posted();
    }
}

TEST_F(BitmapSliderTest, PressOnTheCurrentPixelPostsOnlyOnRelease)
{
    testing::Press(*slider, QPoint(100, 5));
    EXPECT_TRUE(Posted().empty());
    testing::Release(*slider, QPoint(100, 5));
    EXPECT_EQ(Posted(), std::vector<LParam>{2});
}

TEST_F(BitmapSliderTest, DraggingFollowsTheMouseUntilRelease)
{
    testing::Press(*slider, QPoint(100, 5));
    testing::MoveMouse(*slider, QPoint(150, 5), Qt::LeftButton);
    EXPECT_EQ(Posted(), std::vector<LParam>{3});
    testing::Release(*slider, QPoint(150, 5));
    EXPECT_EQ(Posted(), std::vector<LParam>{3});
    testing::MoveMouse(*slider, QPoint(10, 5));
    EXPECT_TRUE(Posted().empty());
    EXPECT_EQ(slider->GetSliderPos(), 3);
}

TEST_F(BitmapSliderTest, KeysMoveWithinTheRange)
{
    const struct {
        std::vector<Qt::Key> keys;
        std::vector<LParam> posted;
    } cases[] = {
        {{Qt::Key_End, Qt::Key_PageDown}, {4, 4}},
        {{Qt::Key_Home, Qt::Key_PageUp}, {0, 0}},
        {{Qt::Key_Left, Qt::Key_Up, Qt::Key_Up}, {1, 0, 0}},
        {{Qt::Key_Right, Qt::Key_Down, Qt::Key_Down}, {3, 4, 4}},
        {{Qt::Key_A, Qt::Key_Space}, {}},
    };
    for (const auto& c : cases) {
        slider->SetSliderPos(2);
        for (Qt::Key key : c.keys) {
            testing::Key(*slider, key);
        }
        EXPECT_EQ(Posted(), c.posted);
    }
}

TEST_F(BitmapSliderTest, WheelMovesOnlyAfterAPressAndUntilTheMouseLeaves)
{
    testing::Wheel(*slider, -120);
    EXPECT_TRUE(Posted().empty());
    EXPECT_EQ(slider->GetSliderPos(), 2);

    testing::Press(*slider, QPoint(100, 5));
    testing::Release(*slider, QPoint(100, 5));
    Posted();
    const struct {
        int delta;
        int position;
    } turns[] = {{-120, 3}, {120, 2}, {240, 3}, {60, 3}, {-120, 4}, {-120, 4}};
    for (const auto& turn : turns) {
        testing::Wheel(*slider, turn.delta);
        EXPECT_EQ(Posted(), std::vector<LParam>{turn.position}) << "delta " << turn.delta;
    }

    testing::Leave(*slider);
    testing::Wheel(*slider, 120);
    EXPECT_TRUE(Posted().empty());
}

TEST_F(BitmapSliderTest, SliderInAPanelPostsToItsWindow)
{
    auto* panel = new QWidget(window.get());
    slider->setParent(panel);
    testing::Key(*slider, Qt::Key_Home);
    EXPECT_EQ(Posted(), std::vector<LParam>{0});
}

TEST_F(BitmapSliderTest, SetterClampsToTheRange)
{
    const struct {
        int requested;
        int stored;
    } cases[] = {{-3, 0}, {0, 0}, {4, 4}, {9, 4}};
    for (const auto& c : cases) {
        slider->SetSliderPos(c.requested);
        EXPECT_EQ(slider->GetSliderPos(), c.stored);
    }
    EXPECT_EQ(slider->SetSliderPage(3), 10);
    EXPECT_TRUE(Posted().empty());
}

TEST_F(BitmapSliderTest, ShowsThePictureItWasGiven)
{
    QPixmap lit(200, 12);
    lit.fill(Qt::cyan);
    slider->SetSliderPicture(lit);
    EXPECT_EQ(testing::Grab(*slider).pixelColor(150, 6), QColor(Qt::cyan));
}

} // namespace
} // namespace tavrix::controls
