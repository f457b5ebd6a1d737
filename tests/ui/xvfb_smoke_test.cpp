#include <QFile>
#include <QGuiApplication>
#include <QScreen>

#include "main_window_fixture.h"
#include "platform/clock.h"
#include "platform/executable_path.h"
#include "xvfb_run.h"

// The main window on a real X server: shaped by its mask picture, as a person would see it.
// The test starts itself again under xvfb-run, where the inner case draws the window and writes
// a screenshot beside the test.
namespace tavrix::ui {
namespace {

using testing::MainWindowTest;

QString ScreenshotPath()
{
    return QString::fromStdString(platform::ExecutableFolder()) + "main_window_xvfb.png";
}

TEST(XvfbSmokeTest, MainWindowAppearsShapedOnARealDisplay)
{
    QFile::remove(ScreenshotPath());
    testing::RunUnderXvfb(QStringLiteral("WindowUnderXvfb.*"));
    if (!IsSkipped()) {
        EXPECT_TRUE(QFile::exists(ScreenshotPath()));
    }
}

class WindowUnderXvfb : public MainWindowTest {
protected:
    void SetUp() override
    {
        if (!testing::IsUnderXvfb()) {
            GTEST_SKIP() << "runs only under the X server XvfbSmokeTest starts";
        }
        MainWindowTest::SetUp();
    }
};

TEST_F(WindowUnderXvfb, WindowIsShapedAndPainted)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    Start();
    ASSERT_TRUE(WaitUntil([&] { return Dlg().isVisible() && Dlg().windowHandle() != nullptr; }));
    Dlg().move(40, 40);
    testing::Pump();
    const QRegion shape = Dlg().mask();
    EXPECT_FALSE(shape.isEmpty());
    EXPECT_NE(shape, QRegion(Dlg().rect())) << "the mask cuts the window to the keyboard's outline";

    // Let the X server draw the window, then look at the whole screen.
    for (int round = 0; round < 50; ++round) {
        testing::Pump();
        platform::SleepMs(10);
    }
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    ASSERT_FALSE(screen.isNull());
    EXPECT_TRUE(screen.save(ScreenshotPath()));
    const QRect frame = Dlg().frameGeometry();
    const QImage background = Dlg().Background().toImage();
    const QPoint inside = shape.boundingRect().center();
    EXPECT_EQ(screen.pixelColor(frame.topLeft() + inside), background.pixelColor(inside))
        << "the background is drawn where the mask keeps the window";
}

} // namespace
} // namespace tavrix::ui
