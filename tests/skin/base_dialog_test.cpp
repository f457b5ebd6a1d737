#include <QTimer>

#include <gtest/gtest.h>

#include "controls/png_button.h"
#include "platform/clock.h"
#include "skin/base_dialog.h"
#include "test_skin.h"
#include "ui_testing.h"

namespace tavrix::skin {
namespace {

constexpr uint32_t kEndMessage = 0x0401;

// A window that records what reaches it and ends when told.
class TestDialog : public CBaseDialog {
public:
    using CBaseDialog::CBaseDialog;
    using CBaseDialog::OnOK;

    bool OnCommand(int id) override
    {
        commands.push_back(id);
        return true;
    }
    controls::LParam OnMessage(uint32_t message, controls::WParam wParam, controls::LParam lParam) override
    {
        if (message == kEndMessage) {
            EndDialog(static_cast<int>(wParam));
        }
        return lParam;
    }
    void OnTimer(int id) override { timers.push_back(id); }

    std::vector<int> commands;
    std::vector<int> timers;
};

class BaseDialogTest : public testing::UiTest {
protected:
    // Writes a skin file naming the pictures and returns its path.
    std::string WriteSkin(const std::string& screen) { return skin.WriteFile("Test.ini", "[SCREEN]\n" + screen); }

    std::unique_ptr<TestDialog> MakeDialog(const std::string& ini)
    {
        return std::make_unique<TestDialog>(102, nullptr, ini, skin.Folder());
    }

    testing::TestSkin skin;
};

TEST_F(BaseDialogTest, WindowTakesTheBackgroundsSizeAndTheMasksShape)
{
    skin.WritePicture("back.png", testing::TestSkin::Picture(QSize(640, 360), Qt::darkBlue));
    skin.WritePicture("mask.bmp", testing::TestSkin::Picture(QSize(640, 360), Qt::black, 1));
    auto dialog = MakeDialog(WriteSkin("Main=back.png\nMask=mask.bmp\n"));
    ASSERT_TRUE(dialog->Create());
    EXPECT_EQ(dialog->size(), QSize(640, 360));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(testing::SameArea(dialog->mask(), QRegion(1, 1, 638, 358)));
    EXPECT_EQ(testing::Grab(*dialog).pixelColor(320, 180), QColor(Qt::darkBlue));
}

TEST_F(BaseDialogTest, BackgroundServesAsMaskWhenNoneIsNamed)
{
    skin.WritePicture("back.png", testing::TestSkin::Picture(QSize(100, 50), Qt::darkGreen, 2));
    auto dialog = MakeDialog(WriteSkin("Main=back.png\n"));
    ASSERT_TRUE(dialog->Create());
    EXPECT_TRUE(testing::SameArea(dialog->mask(), QRegion(2, 2, 96, 46)));
}

TEST_F(BaseDialogTest, AllWhiteMaskLeavesTheWindowRectangular)
{
    skin.WritePicture("back.png", testing::TestSkin::Picture(QSize(100, 50), Qt::darkGreen));
    skin.WritePicture("white.png", testing::TestSkin::Picture(QSize(100, 50), Qt::white));
    auto dialog = MakeDialog(WriteSkin("Main=back.png\nMask=white.png\n"));
    ASSERT_TRUE(dialog->Create());
    EXPECT_TRUE(dialog->mask().isEmpty());
}

TEST_F(BaseDialogTest, MissingPictureEndsTheProcessWithExitCodeZero)
{
    // The child starts afresh rather than forking a process that already runs Qt's threads.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    skin.WritePicture("back.png", testing::TestSkin::Picture(QSize(100, 50), Qt::darkGreen));
    skin.WriteFile("broken.jpg", "not a picture");
    const char* screens[] = {
        "Main=missing.png\n",
        "Main=broken.jpg\n",
        "Main=back.png\nMask=missing.png\n",
        "Mask=back.png\n",
    };
    for (const char* screen : screens) {
        const std::string ini = WriteSkin(screen);
        EXPECT_EXIT(MakeDialog(ini)->Create(), ::testing::ExitedWithCode(0), "") << screen;
    }
}

TEST_F(BaseDialogTest, DraggingTheBackgroundMovesTheWindowButAControlDoesNot)
{
    skin.WritePicture("back.png", testing::TestSkin::Picture(QSize(200, 100), Qt::darkGray));
    auto dialog = MakeDialog(WriteSkin("Main=back.png\n"));
    ASSERT_TRUE(dialog->Create());
    auto* button = new controls::CPngButton(1001, dialog.get());
    button->setGeometry(150, 10, 40, 20);
    dialog->move(100, 100);
    dialog->show();

    testing::Press(*dialog, QPoint(20, 20));
    testing::MoveMouse(*dialog, QPoint(50, 30), Qt::LeftButton);
    testing::Release(*dialog, QPoint(50, 30));
    EXPECT_EQ(dialog->pos(), QPoint(130, 110));

    testing::Press(*button, QPoint(5, 5));
    testing::MoveMouse(*button, QPoint(25, 15), Qt::LeftButton);
    testing::Release(*button, QPoint(25, 15));
    EXPECT_EQ(dialog->pos(), QPoint(130, 110));
}

TEST_F(BaseDialogTest, ControlsAreReachedByIdAndTheirClicksArriveAsCommands)
{
    skin.WritePicture("back.png", testing::TestSkin::Picture(QSize(200, 100), Qt::darkGray));
    auto dialog = MakeDialog(WriteSkin("Main=back.png\n"));
    ASSERT_TRUE(dialog->Create());
    auto* button = new controls::CPngButton(1003, dialog.get());
    button->setGeometry(10, 10, 40, 20);
    EXPECT_EQ(dialog->GetDlgItem<controls::CPngButton>(1003), button);
    EXPECT_EQ(dialog->GetDlgItem(1004), nullptr);
    testing::Click(testing::Control(*dialog, 1003));
    EXPECT_EQ(dialog->commands, std::vector<int>{1003});
}

TEST_F(BaseDialogTest, ModalRunEndsWithTheResultGiven)
{
    skin.WritePicture("back.png", testing::TestSkin::Picture(QSize(200, 100), Qt::darkGray));
    const std::string ini = WriteSkin("Main=back.png\n");

    auto ended = MakeDialog(ini);
    ended->PostMessage(kEndMessage, 42, 0);
    EXPECT_EQ(ended->DoModal(), 42);

    auto cancelled = MakeDialog(ini);
    QTimer::singleShot(0, cancelled.get(), [&] { testing::Key(*cancelled, Qt::Key_Escape); });
    EXPECT_EQ(cancelled->DoModal(), IDCANCEL);

    auto confirmed = MakeDialog(ini);
    QTimer::singleShot(0, confirmed.get(), [&] { confirmed->OnOK(); });
    EXPECT_EQ(confirmed->DoModal(), IDOK);
    EXPECT_TRUE(confirmed->Background().isNull());
}

TEST_F(BaseDialogTest, TimersFireByIdUntilKilled)
{
    platform::SetTimeScale(0.01);
    skin.WritePicture("back.png", testing::TestSkin::Picture(QSize(20, 10), Qt::darkGray));
    auto dialog = MakeDialog(WriteSkin("Main=back.png\n"));
    ASSERT_TRUE(dialog->Create());
    dialog->SetTimer(1051, 100);
    dialog->SetTimer(7, 100);
    dialog->KillTimer(7);
    dialog->KillTimer(8);
    while (dialog->timers.size() < 3) {
        platform::SleepMs(100);
        testing::Pump();
    }
    dialog->KillTimer(1051);
    EXPECT_EQ(dialog->timers, (std::vector<int>(dialog->timers.size(), 1051)));
    platform::SetTimeScale(1.0);
}

} // namespace
} // namespace tavrix::skin
