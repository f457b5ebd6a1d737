#include <QAction>

#include "main_window_fixture.h"
#include "ui/main_window/custom_messages.h"
#include "ui/tray/tray_icon.h"
#include "ui/tray/tray_pictures.h"

namespace tavrix::ui {
namespace {

using testing::MainWindowTest;

TEST_F(MainWindowTest, TrayMenuCarriesTheLanguageTextsAndItsCommands)
{
    Start(true, true);
    CTrayIcon& tray = Dlg().TrayIcon();
    QMenu& menu = tray.PreparedMenu();
    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 3);
    const struct {
        int id;
        const char* key;
    } expected[] = {{kCommandOpen, "MENU_11"}, {kCommandAbout, "MENU_22"}, {kCommandExit, "MENU_33"}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(actions[i]->data().toInt(), expected[i].id);
        EXPECT_EQ(actions[i]->text(), Text(expected[i].key));
    }
    EXPECT_EQ(tray.Tooltip(), Text("KEYBOARD_TRAY_DESC").left(kTrayTooltipLength));

    actions[1]->trigger();
    EXPECT_NE(Dlg().AboutDialog(), nullptr);
    actions[2]->trigger();
    EXPECT_EQ(m_runEnds, 1) << "the third item ends the program";
}

TEST_F(MainWindowTest, TrayIconIsReadyWithoutANotificationAreaForOneThatAppearsLater)
{
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable()) << "the offscreen desktop has no notification area";
    Start(true, true);
    CTrayIcon& tray = Dlg().TrayIcon();
    EXPECT_TRUE(tray.IsInstalled()) << "the icon waits for a panel to take it";
    EXPECT_EQ(tray.IconResource(), kIconKeyboard) << "with the keyboard's state";
    EXPECT_TRUE(tray.SetIcon(kIconKeyboardBusy));
}

TEST_F(MainWindowTest, TrayClicksOfTheIcon)
{
    Start(true, true);
    CTrayIcon& tray = Dlg().TrayIcon();
    const struct {
        int iconId;
        uint32_t mouse;
        int handled;
        bool shown;
    } cases[] = {
        {kTrayMenuId + 1, kTrayLeftDoubleClick, 0, false},
        {kTrayMenuId, kTrayLeftButtonUp, 1, false},
        {kTrayMenuId, kTrayLeftDoubleClick, 1, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tray.OnTrayNotification(c.iconId, c.mouse), c.handled) << c.iconId << " " << c.mouse;
        EXPECT_EQ(Dlg().isVisible(), c.shown) << c.iconId << " " << c.mouse;
    }
}

TEST_F(MainWindowTest, TrayStatesPickTheIcon)
{
    Start(true, true);
    enum class Step { Disconnected, Connected, Busy, Idle };
    const struct {
        Step step;
        int shown;
    } steps[] = {
        {Step::Disconnected, kIconNoKeyboard}, {Step::Busy, kIconKeyboardBusy}, {Step::Idle, kIconNoKeyboard},
        {Step::Connected, kIconKeyboard},      {Step::Busy, kIconKeyboardBusy}, {Step::Idle, kIconKeyboard},
    };
    for (const auto& [step, shown] : steps) {
        if (step == Step::Disconnected || step == Step::Connected) {
            Dlg().ShowConnected(step == Step::Connected);
        } else {
            Dlg().OnKeyboardBusy(step == Step::Busy);
        }
        EXPECT_EQ(Dlg().TrayIconId(), shown) << static_cast<int>(step);
        EXPECT_EQ(Dlg().TrayIcon().IconResource(), shown);
    }
}

TEST(TrayPicturesTest, EveryStateHasAPicture)
{
    testing::EnsureApplication();
    for (int id : {kIconNoKeyboard, kIconKeyboard, kIconKeyboardBusy, 0}) {
        EXPECT_FALSE(TrayIconPicture(id).isNull()) << id;
    }
    EXPECT_FALSE(ApplicationIcon().isNull());
}

} // namespace
} // namespace tavrix::ui
