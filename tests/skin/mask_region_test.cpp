#include <gtest/gtest.h>

#include "skin/mask_region.h"
#include "test_skin.h"
#include "ui_testing.h"

namespace tavrix::skin {
namespace {

const QColor kWhite(255, 255, 255);
const QColor kNoTolerance(0, 0, 0);

class MaskRegionTest : public testing::UiTest {};

TEST_F(MaskRegionTest, WhiteBorderIsCutAway)
{
    const QImage mask = testing::TestSkin::Picture(QSize(40, 30), Qt::black, 1);
    const std::optional<QRegion> region = MakeRegionFromMask(mask, kWhite, kNoTolerance);
    ASSERT_TRUE(region.has_value());
    EXPECT_TRUE(testing::SameArea(*region, QRegion(1, 1, 38, 28)));
}

TEST_F(MaskRegionTest, OnlyPureWhiteIsTransparentWithoutTolerance)
{
    QImage mask(4, 1, QImage::Format_RGB32);
    mask.setPixel(0, 0, qRgb(255, 255, 255));
    mask.setPixel(1, 0, qRgb(254, 255, 255));
    mask.setPixel(2, 0, qRgb(255, 255, 255));
    mask.setPixel(3, 0, qRgb(255, 255, 0));
    EXPECT_TRUE(testing::SameArea(MakeRegionFromMask(mask, kWhite, kNoTolerance).value(),
                                  QRegion(1, 0, 1, 1).united(QRegion(3, 0, 1, 1))));
    // A tolerance widens the range upwards from the transparent colour, capped at 255.
    EXPECT_TRUE(testing::SameArea(MakeRegionFromMask(mask, QColor(250, 250, 250), QColor(10, 10, 10)).value(),
                                  QRegion(3, 0, 1, 1)));
}

TEST_F(MaskRegionTest, AllWhiteGivesAnEmptyRegionAndNoPictureNone)
{
    EXPECT_EQ(MakeRegionFromMask(testing::TestSkin::Picture(QSize(8, 8), Qt::white), kWhite, kNoTolerance), QRegion());
    EXPECT_FALSE(MakeRegionFromMask(QImage(), kWhite, kNoTolerance).has_value());
}

TEST_F(MaskRegionTest, ManyRunsAreAllKept)
{
    // A chequerboard: one run per black pixel, far more than one batch of rectangles.
    QImage mask(120, 80, QImage::Format_RGB32);
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            mask.setPixel(x, y, (x + y) % 2 == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    const QRegion region = MakeRegionFromMask(mask, kWhite, kNoTolerance).value();
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            ASSERT_EQ(region.contains(QPoint(x, y)), (x + y) % 2 == 0) << x << "," << y;
        }
    }
}

} // namespace
} // namespace tavrix::skin
