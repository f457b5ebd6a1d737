#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <cstdlib>

#include "main_window_fixture.h"
#include "platform/clock.h"
#include "platform/executable_path.h"

// The main window on a real X server: shaped by its mask picture, as a person would see it.
// The test starts itself again under xvfb-run, where the inner case draws the window and writes
// a screenshot beside the test.
namespace tavrix::ui {
namespace {

using testing::MainWindowTest;

constexpr const char* kInnerVariable = "TAVRIX_XVFB_INNER";
constexpr int kInnerTimeoutMs = 120000;

QString ScreenshotPath()
{
    return QString::fromStdString(platform::ExecutableFolder()) + "main_window_xvfb.png";
}

TEST(XvfbSmokeTest, MainWindowAppearsShapedOnARealDisplay)
{
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfbRun.isEmpty()) {
        GTEST_SKIP() << "xvfb-run is not installed";
    }
    QFile::remove(ScreenshotPath());
    QProcess inner;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kInnerVariable, QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // The X connection's system libraries (D-Bus) keep allocations until exit; the same window
    // code is leak-checked offscreen by the other cases.
    const QString sanitizer = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       sanitizer + (sanitizer.isEmpty() ? "" : ":") + QStringLiteral("detect_leaks=0"));
    inner.setProcessEnvironment(environment);
    inner.setProcessChannelMode(QProcess::ForwardedChannels);
    inner.start(xvfbRun, {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1920x1080x24"),
                          QString::fromStdString(platform::ExecutablePath()),
                          QStringLiteral("--gtest_filter=XvfbWindowTest.*")});
    ASSERT_TRUE(inner.waitForFinished(kInnerTimeoutMs));
    EXPECT_EQ(inner.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(inner.exitCode(), 0);
    EXPECT_TRUE(QFile::exists(ScreenshotPath()));
}

class XvfbWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        if (std::getenv(kInnerVariable) == nullptr) {
            GTEST_SKIP() << "runs only under the X server XvfbSmokeTest starts";
        }
        MainWindowTest::SetUp();
    }
};

TEST_F(XvfbWindowTest, WindowIsShapedAndPainted)
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
