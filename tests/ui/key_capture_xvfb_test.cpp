#include <QApplication>

#include "model/key_code.h"
#include "ui/main_window/key_layout.h"
#include "x11_fixture.h"
#include "xvfb_run.h"

// Key capture end to end on a real X server: real key events made with XTest (xdotool) reach the
// key-assignment dialog with their native scan codes.
namespace tavrix::ui {
namespace {

using testing::KeyCounter;

constexpr uint16_t kKeyA = 0x01E;
constexpr uint16_t kKeyB = 0x030;
constexpr uint16_t kTab = 0x00F;
constexpr uint16_t kPrintScreen = 0x137;
constexpr uint16_t kLeftSuper = 0x15B;
constexpr int kKeyAId = 1058;
// X numbers keys from the Linux input code + 8.
constexpr quint32 kNativeB = 48 + 8;
constexpr quint32 kNativeMute = 113 + 8;

TEST(KeyCaptureOnX11, RunsOnARealDisplay)
{
    testing::RunUnderXvfb(QStringLiteral("KeyCaptureUnderXvfb.*"), {QStringLiteral("xdotool")});
}

class KeyCaptureUnderXvfb : public testing::X11CompositeTest {
protected:
    bool OpenForA()
    {
        return ClickOn(Dlg(), kKeyAId) &&
               WaitFor([&] { return Composite().IsOpen() && Composite().isVisible() && Composite().IsCapturing(); });
    }

    bool Captured(uint16_t code)
    {
        return WaitFor([&] { return Composite().State().ShownKey() == code; });
    }
};

// Click A on the drawn keyboard, press keys, OK, then the main window's Apply: the keyboard's key
// table holds B at A's place, and a replugged keyboard reads it back.
TEST_F(KeyCaptureUnderXvfb, PressedKeyIsAssignedAndReachesTheKeyboard)
{
    const int profile = Profile();
    KeyCounter seen(kNativeB);
    Drive([&] {
        ASSERT_TRUE(OpenForA());
        // The dialog gives the key edit the focus once its page has been drawn.
        ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == Composite().GetDlgItem(kKeyEditId); }));

        ASSERT_TRUE(Xdotool({QStringLiteral("key"), QStringLiteral("Tab")}));
        EXPECT_TRUE(Captured(kTab)) << "Tab is a key like any other here";
        EXPECT_TRUE(OnUi([&] { return QApplication::focusWidget() == Composite().GetDlgItem(kKeyEditId); }))
            << "Tab does not move the focus";

        ASSERT_TRUE(Xdotool({QStringLiteral("keydown"), QStringLiteral("ctrl"), QStringLiteral("key"),
                             QStringLiteral("a"), QStringLiteral("keyup"), QStringLiteral("ctrl")}));
        EXPECT_TRUE(Captured(kKeyA)) << "Ctrl, then A with Ctrl held: A";

        // A held key: taken once. Cleared while held, its repeats bring it back no more.
        OnUi([&] {
            QApplication::instance()->installEventFilter(&seen);
            return true;
        });
        ASSERT_TRUE(Xdotool({QStringLiteral("keydown"), QStringLiteral("b")}));
        EXPECT_TRUE(Captured(kKeyB));
        OnUi([&] { return Composite().OnCommand(kClearId); });
        const int pressesAtClear = seen.presses;
        EXPECT_TRUE(WaitFor([&] { return seen.presses >= pressesAtClear + 3; })) << "the desktop repeats the key";
        ASSERT_TRUE(Xdotool({QStringLiteral("keyup"), QStringLiteral("b")}));
        EXPECT_TRUE(WaitFor([&] { return seen.releases >= 1; }));
        EXPECT_EQ(OnUi([&] { return Composite().State().ShownKey(); }), 0u);
        EXPECT_EQ(OnUi([&] { return Composite().State().Type(); }), model::kTypeDefault);

        ASSERT_TRUE(Xdotool({QStringLiteral("key"), QStringLiteral("b")}));
        EXPECT_TRUE(Captured(kKeyB));
        ASSERT_TRUE(ClickOn(Composite(), skin::IDOK));
        ASSERT_TRUE(WaitFor([&] { return !Composite().IsOpen(); }));
        ASSERT_TRUE(OnUi([&] { return Dlg().IsApplyEnabled(); }));
        ASSERT_TRUE(ClickOn(Dlg(), kApplyButtonId));
        EXPECT_TRUE(WaitFor([&] { return !Dlg().IsApplyEnabled(); }));
    });
    QApplication::instance()->removeEventFilter(&seen);
    EXPECT_EQ(SlotOf(profile, model::KeyIndexOf(kKeyA)), (model::KeyAssignment{model::kTypeKey, 0, kKeyB}));
    EXPECT_EQ(KeyboardEntryOf(profile, kKeyA), (model::KeyEntry{2, 2, 0x05})) << "B's usage at A's place";

    Edit(profile, model::KeyIndexOf(kKeyA), {});
    Sim().Unplug();
    ASSERT_TRUE(WaitUntil([&] { return !Dlg().isVisible(); }));
    Sim().Replug();
    EXPECT_TRUE(WaitUntil([&] {
        return SlotOf(profile, model::KeyIndexOf(kKeyA)) == model::KeyAssignment{model::kTypeKey, 0, kKeyB};
    })) << "the keyboard is read back with B at A";
}

// Print Screen, Super in mouse mode and a media key; then Cancel leaves everything as it was.
TEST_F(KeyCaptureUnderXvfb, CancelAfterCapturesChangesNothing)
{
    const std::vector<uint8_t> model = ModelBytes();
    const auto keyboard = Sim().Memory().keyTables;
    // Installed before the dialog's filter, so it sees only what the dialog lets through.
    KeyCounter passedOn(kNativeMute);
    QApplication::instance()->installEventFilter(&passedOn);
    Drive([&] {
        ASSERT_TRUE(OpenForA());
        ASSERT_TRUE(Xdotool({QStringLiteral("key"), QStringLiteral("Print")}));
        EXPECT_TRUE(Captured(kPrintScreen));

        ASSERT_TRUE(Xdotool({QStringLiteral("key"), QStringLiteral("XF86AudioMute")}));
        EXPECT_TRUE(WaitFor([&] { return passedOn.releases >= 1; })) << "a media key keeps working";
        EXPECT_EQ(OnUi([&] { return Composite().State().ShownKey(); }), kPrintScreen);

        OnUi([&] { return Composite().OnCommand(kMouseModeId); });
        ASSERT_TRUE(Xdotool({QStringLiteral("key"), QStringLiteral("super")}));
        EXPECT_TRUE(Captured(kLeftSuper)) << "Super is taken in mouse mode too";
        EXPECT_TRUE(OnUi([&] { return Composite().State().IsMouseMode(); }));

        ASSERT_TRUE(ClickOn(Composite(), skin::IDCANCEL));
        EXPECT_TRUE(WaitFor([&] { return !Composite().IsOpen(); }));
    });
    QApplication::instance()->removeEventFilter(&passedOn);
    EXPECT_EQ(ModelBytes(), model);
    EXPECT_EQ(Sim().Memory().keyTables, keyboard);
    EXPECT_FALSE(Dlg().IsApplyEnabled());
}

} // namespace
} // namespace tavrix::ui
