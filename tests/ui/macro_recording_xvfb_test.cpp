#include <QApplication>
#include <QLineEdit>
#include <QStyleHints>
#include <mutex>
#include <thread>

#include "app/app_state.h"
#include "model/macro_area.h"
#include "ui/main_window/key_layout.h"
#include "x11_fixture.h"
#include "xvfb_run.h"

// Macro recording end to end on a real X server: key strokes and clicks made with XTest (xdotool)
// become the actions of a macro, which reaches the simulated keyboard.
namespace tavrix::ui {
namespace {

using model::MacroAction;
using testing::KeyCounter;

constexpr uint16_t kKeyB = 0x030;
constexpr uint16_t kKeyH = 0x023;
constexpr uint16_t kKeyI = 0x017;
constexpr uint16_t kF1 = 0x03B;
constexpr uint16_t kPrintScreen = 0x137;
constexpr uint16_t kLeftButton = 0x171;
constexpr uint16_t kDown = model::kMacroPress;
constexpr uint16_t kUp = model::kMacroRelease;
constexpr int kKeyAId = 1058;
constexpr int kMacroLabelId = 1200;
// X numbers keys from the Linux input code + 8.
constexpr quint32 kNativeB = 48 + 8;
constexpr quint32 kNativeMute = 113 + 8;

TEST(MacroRecordingOnX11, RunsOnARealDisplay)
{
    testing::RunUnderXvfb(QStringLiteral("MacroRecordingUnderXvfb.*"), {QStringLiteral("xdotool")});
}

class MacroRecordingUnderXvfb : public testing::X11CompositeTest {
protected:
    // From the driver: opens the dialog for the key, shows its macro page and adds a macro there.
    bool OpenWithNewMacro(int keyId)
    {
        return ClickOn(Dlg(), keyId) && WaitFor([&] { return Composite().IsOpen() && Composite().isVisible(); }) &&
               ClickOn(Composite(), kMacroPageId) &&
               WaitFor([&] { return Composite().State().ShownPage() == Page::Macro; }) &&
               ClickOn(Composite(), kAddMacroId) &&
               WaitFor([&] { return Composite().GetDlgItem(kRecordId)->isEnabled(); });
    }

    bool StartRecording()
    {
        return ClickOn(Composite(), kRecordId) && WaitFor([&] { return Composite().IsRecording(); });
    }

    bool Key(const char* keys) { return Xdotool({QStringLiteral("key"), QString::fromLatin1(keys)}); }

    // From the driver: the shown macro's rows, once there are count of them.
    std::vector<MacroAction> RowsOnceThereAre(size_t count)
    {
        EXPECT_TRUE(WaitFor([&] { return ActionRows(Composite()).size() >= count; }))
            << "rows: " << OnUi([&] { return ActionRows(Composite()).size(); });
        return OnUi([&] { return ActionRows(Composite()); });
    }
};

// Record H, I and the click on the record button that stops it into a new macro on G1, repeat it
// three times, OK, then the main window's Apply: G1 plays the macro three times, the keyboard's
// extra area holds exactly those actions, and a replugged keyboard reads the macro back.
TEST_F(MacroRecordingUnderXvfb, RecordedMacroReachesTheKeyboard)
{
    const int profile = Profile();
    const size_t g1 = model::GKeySlot(static_cast<model::GKeyBank>(Dlg().ActiveBank()), 0);
    const std::vector<MacroAction> recorded{{50, kKeyH, kDown}, {50, kKeyH, kUp},         {50, kKeyI, kDown},
                                            {50, kKeyI, kUp},   {50, kLeftButton, kDown}, {0, kLeftButton, kUp}};
    Drive([&] {
        ASSERT_TRUE(OpenWithNewMacro(kGKeyIds[0]));
        ASSERT_TRUE(StartRecording());
        // The stopping click below is no double click.
        std::this_thread::sleep_for(
            std::chrono::milliseconds(OnUi([] { return QGuiApplication::styleHints()->mouseDoubleClickInterval(); })));
        ASSERT_TRUE(Key("h"));
        ASSERT_TRUE(Key("i"));
        EXPECT_EQ(RowsOnceThereAre(4).size(), 4u);
        ASSERT_TRUE(ClickOn(Composite(), kRecordId));
        ASSERT_TRUE(WaitFor([&] { return !Composite().IsRecording(); }));
        EXPECT_EQ(RowsOnceThereAre(6), recorded) << "the stopping click is recorded too";

        ASSERT_TRUE(ClickOn(Composite(), kRepeatCountId));
        ASSERT_TRUE(Key("ctrl+a"));
        ASSERT_TRUE(Xdotool({QStringLiteral("type"), QStringLiteral("3")}));
        ASSERT_TRUE(WaitFor([&] { return Composite().GetDlgItem<QLineEdit>(kRepeatCountId)->text() == "3"; }));
        ASSERT_TRUE(ClickOn(Composite(), skin::IDOK));
        ASSERT_TRUE(WaitFor([&] { return !Composite().IsOpen(); }));
        ASSERT_TRUE(ClickOn(Dlg(), kApplyButtonId));
        EXPECT_TRUE(WaitFor([&] { return !Dlg().IsApplyEnabled(); }));
    });
    EXPECT_EQ(SlotOf(profile, g1), (model::KeyAssignment{model::kTypeMacro, 3, 1})) << "macro 1, three times";
    const std::vector<model::MacroRecord> onKeyboard =
        model::DecodeMacroArea(Sim().Memory().extra, [](std::string_view) { return std::u16string(); });
    ASSERT_EQ(onKeyboard.size(), 1u);
    EXPECT_EQ(onKeyboard[0].repeatCount, 3);
    EXPECT_EQ(std::vector<MacroAction>(onKeyboard[0].UsedActions().begin(), onKeyboard[0].UsedActions().end()),
              recorded);

    const std::vector<model::MacroRecord> macros = StoredMacros();
    {
        std::lock_guard lock(app::ModelLock());
        Dlg().Sync().Model().macros.Clear();
    }
    Sim().Unplug();
    ASSERT_TRUE(WaitUntil([&] { return !Dlg().isVisible(); }));
    Sim().Replug();
    // The keyboard keeps the macros; G-key slots live in the model and its cache file only.
    EXPECT_TRUE(WaitUntil([&] { return StoredMacros() == macros; })) << "the keyboard is read back with the macro";
}

// A held key, Print Screen, a media key, F1 and a double click while recording; then Cancel
// leaves the model as it was.
TEST_F(MacroRecordingUnderXvfb, RecordingTakesStrokesNotRepeats)
{
    const std::vector<uint8_t> image = ModelBytes();
    const std::vector<model::MacroRecord> macros = StoredMacros();
    KeyCounter passedOn(kNativeMute);
    QApplication::instance()->installEventFilter(&passedOn);
    KeyCounter seen(kNativeB);
    Drive([&] {
        ASSERT_TRUE(OpenWithNewMacro(kKeyAId));
        ASSERT_TRUE(StartRecording());
        OnUi([&] {
            QApplication::instance()->installEventFilter(&seen);
            return true;
        });
        ASSERT_TRUE(Xdotool({QStringLiteral("keydown"), QStringLiteral("b")}));
        EXPECT_TRUE(WaitFor([&] { return seen.presses >= 4; })) << "the desktop repeats the key";
        ASSERT_TRUE(Xdotool({QStringLiteral("keyup"), QStringLiteral("b")}));
        ASSERT_TRUE(Key("Print"));
        ASSERT_TRUE(Key("XF86AudioMute"));
        EXPECT_TRUE(WaitFor([&] { return passedOn.releases >= 1; })) << "a media key passes on";
        ASSERT_TRUE(Key("F1"));
        ASSERT_TRUE(ClickOn(Composite(), kMacroLabelId, 2));
        const std::vector<MacroAction> rows = RowsOnceThereAre(9);
        std::vector<std::pair<uint16_t, uint16_t>> strokes;
        for (const MacroAction& row : rows) {
            strokes.emplace_back(row.keyCode, row.direction);
        }
        EXPECT_EQ(strokes, (std::vector<std::pair<uint16_t, uint16_t>>{{kKeyB, kDown},
                                                                       {kKeyB, kUp},
                                                                       {kPrintScreen, kDown},
                                                                       {kPrintScreen, kUp},
                                                                       {kF1, kDown},
                                                                       {kF1, kUp},
                                                                       {kLeftButton, kDown},
                                                                       {kLeftButton, kUp},
                                                                       {kLeftButton, kUp}}));
        EXPECT_TRUE(OnUi([&] { return Composite().IsRecording(); }));

        ASSERT_TRUE(ClickOn(Composite(), skin::IDCANCEL));
        EXPECT_TRUE(WaitFor([&] { return !Composite().IsOpen(); }));
    });
    QApplication::instance()->removeEventFilter(&seen);
    QApplication::instance()->removeEventFilter(&passedOn);
    EXPECT_TRUE(m_opened.empty()) << "F1 opened no help while recording";
    EXPECT_EQ(ModelBytes(), image);
    EXPECT_EQ(StoredMacros(), macros);
    EXPECT_FALSE(Dlg().IsApplyEnabled());
}

} // namespace
} // namespace tavrix::ui
