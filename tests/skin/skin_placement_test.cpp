#include <QLabel>

#include <gtest/gtest.h>

#include "controls/png_button.h"
#include "skin/skin_placement.h"
#include "skin/state_sheet.h"
#include "test_skin.h"
#include "ui_testing.h"

namespace tavrix::skin {
namespace {

// A sheet whose every pixel names its own position, so a cut shows where it came from.
QPixmap PositionSheet(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgb(x % 256, y % 256, x / 256 * 16 + y / 256));
        }
    }
    return QPixmap::fromImage(image);
}

class SkinPlacementTest : public testing::UiTest {
protected:
    void SetUp() override
    {
        ini = skin.WriteFile("Main.ini", "[BUTTONINFO]\n"
                                         "CONTROL_OK=100,50,80,30\n"
                                         "CONTROL_HELP=1,1,60,20\n"
                                         "CONTROL_MOVED=5,6,1,1\n"
                                         "LEFT_ARROW=300,10,12,14\n"
                                         "[BUTTONINFO2]\n"
                                         "LEFT_ARROW=20,30,0,0\n");
        window.resize(400, 200);
        sheet = PositionSheet(QSize(500, 300));
    }

    testing::TestSkin skin;
    std::string ini;
    QWidget window;
    QPixmap sheet;
};

TEST_F(SkinPlacementTest, ButtonShowsItsAreaOfTheSheetInEveryState)
{
    controls::CPngButton button(1, &window);
    PlaceSkinButton(button, ini, "BUTTONINFO", "CONTROL_OK", {&sheet, &sheet, &sheet, &sheet, &sheet});
    EXPECT_EQ(button.geometry(), QRect(100, 50, 80, 30));
    EXPECT_TRUE(button.isEnabled());
    EXPECT_EQ(button.SheetOffset(), QPoint(100, 50));
    const QImage expected = sheet.toImage().copy(99, 49, 80, 30).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(testing::Grab(button), expected);
}

TEST_F(SkinPlacementTest, ButtonAtOneOneIsDisabled)
{
    const struct {
        const char* key;
        QRect geometry;
    } cases[] = {
        {"CONTROL_HELP", QRect(1, 1, 60, 20)},
        {"CONTROL_MISSING", QRect(1, 1, 1, 1)},
    };
    for (const auto& c : cases) {
        controls::CPngButton button(1, &window);
        PlaceSkinButton(button, ini, "BUTTONINFO", c.key, {&sheet, &sheet, &sheet, &sheet, &sheet});
        EXPECT_EQ(button.geometry(), c.geometry) << c.key;
        EXPECT_FALSE(button.isEnabled()) << c.key;
    }
}

TEST_F(SkinPlacementTest, ControlsArePlacedOrMovedKeepingTheirSize)
{
    QLabel label(&window);
    PlaceSkinControl(label, ini, "BUTTONINFO", "CONTROL_OK");
    EXPECT_EQ(label.geometry(), QRect(100, 50, 80, 30));
    PlaceSkinControl(label, ini, "BUTTONINFO", "CONTROL_MISSING");
    EXPECT_EQ(label.geometry(), QRect(1, 1, 1, 1));

    label.setGeometry(40, 40, 70, 15);
    MoveSkinControl(label, ini, "BUTTONINFO", "CONTROL_MOVED");
    EXPECT_EQ(label.geometry(), QRect(5, 6, 70, 15));
}

TEST_F(SkinPlacementTest, ArrowCutsItsPictureAtTheSecondRectangle)
{
    controls::CPngButton arrow(2, &window);
    PlaceSkinArrow(arrow, ini, "BUTTONINFO", "LEFT_ARROW", "BUTTONINFO2", "LEFT_ARROW", &sheet);
    EXPECT_EQ(arrow.geometry(), QRect(300, 10, 12, 14));
    EXPECT_EQ(arrow.SheetOffset(), QPoint(20, 30));
    EXPECT_TRUE(arrow.isEnabled());
    EXPECT_EQ(testing::Grab(arrow).pixelColor(0, 0), QColor(19, 29, 0));
}

TEST_F(SkinPlacementTest, SheetIsTheWindowPlusAHundredEachWay)
{
    QWidget owner;
    owner.resize(600, 300);
    const struct {
        const char* name;
        QSize picture;
        QPoint probe;
        QColor expected;
    } cases[] = {
        {"larger picture is cut off", QSize(900, 500), QPoint(699, 399), Qt::red},
        {"smaller picture leaves the rest unpainted", QSize(50, 40), QPoint(50, 40), Qt::black},
        {"smaller picture is drawn unscaled", QSize(50, 40), QPoint(49, 39), Qt::red},
    };
    for (const auto& c : cases) {
        QPixmap made;
        MakeStateSheet(made, testing::TestSkin::Picture(c.picture, Qt::red), owner);
        EXPECT_EQ(made.size(), QSize(700, 400)) << c.name;
        EXPECT_EQ(made.toImage().pixelColor(c.probe), c.expected) << c.name;
    }
}

TEST_F(SkinPlacementTest, UnreadablePictureGivesAnUnpaintedSheet)
{
    skin.WriteFile("broken.jpg", "not a picture");
    skin.WritePicture("main_over.png", testing::TestSkin::Picture(QSize(10, 10), Qt::green));
    const QImage broken = LoadSkinImage(skin.Folder(), "broken.jpg");
    EXPECT_TRUE(broken.isNull());
    EXPECT_TRUE(LoadSkinImage(skin.Folder(), "Skins\\missing.jpg").isNull());
    EXPECT_EQ(LoadSkinImage(skin.Folder(), "main_over.png").size(), QSize(10, 10));

    QPixmap made;
    MakeStateSheet(made, broken, window);
    EXPECT_EQ(made.size(), QSize(500, 300));
    EXPECT_EQ(made.toImage().pixelColor(5, 5), QColor(Qt::black));
}

TEST(SkinPathTest, BackslashesBecomeSlashes)
{
    EXPECT_EQ(JoinSkinPath("/opt/tavrix/", "Skins\\main_over.jpg"), "/opt/tavrix/Skins/main_over.jpg");
    EXPECT_EQ(JoinSkinPath("/opt/tavrix", "Skins/Arrow.jpg"), "/opt/tavrix/Skins/Arrow.jpg");
    EXPECT_EQ(JoinSkinPath("/opt/tavrix/Skins/", ""), "/opt/tavrix/Skins/");
}

} // namespace
} // namespace tavrix::skin
