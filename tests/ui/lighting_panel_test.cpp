#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "controls/bitmap_slider.h"
#include "controls/picture_static.h"
#include "device/commands.h"
#include "device/protocol.h"
#include "main_window_fixture.h"
#include "model/lamp_patterns.h"
#include "model/lighting_settings.h"
#include "platform/app_profile.h"
#include "platform/ini_file.h"
#include "sim/state_file.h"
#include "skin/base_dialog.h"
#include "skin/language.h"
#include "ui/main_window/key_layout.h"
#include "ui/main_window/lighting_panel.h"

namespace tavrix::ui {
namespace {

using testing::MainWindowTest;

constexpr int kKeyAId = 1058;
constexpr int kLampA = 11;
constexpr int kFnLamp = 45;
constexpr int kRestoreDefaultsId = 1138;

// A request the window sent to the keyboard.
struct Sent {
    uint8_t command;
    int length;
    int address;
    std::vector<uint8_t> data;
};

// The panel's controls besides the toggle, its caption and the report-rate caption.
constexpr int kFoldedControls[] = {kEffectListId,      kBrightnessLabelId, kBrightnessSliderId, kSpeedLabelId,
                                   kSpeedSliderId,     kDirectionLabelId,  kDirectionLeftId,    kDirectionRightId,
                                   kToolLabelId,       kToolLightId,       kToolDarkenId,       kAllDarkLabelId,
                                   kAllDarkId,         kAllLitLabelId,     kAllLitId,           kUserPatternListId,
                                   kUserPatternLabelId};

class LightingPanelTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_ownKeyboard = true;
        m_ownLighting = true;
        platform::SetRegistryKey("Tavrix_Quenda", "Tavrix");
    }

    LightingPanel& Panel() { return Dlg().Lighting(); }
    int Profile() { return Dlg().LightingControl().Profile(); }

    template <typename Control = QWidget> Control& ControlOf(int id)
    {
        auto* control = Dlg().GetDlgItem<Control>(id);
        EXPECT_NE(control, nullptr) << id;
        return *control;
    }

    bool Shown(int id) { return ControlOf(id).isVisibleTo(&Dlg()); }

    uint8_t KeyboardSetting(std::size_t offset)
    {
        return Sim().Memory().lighting[model::kLightingBlockSize * static_cast<std::size_t>(Profile()) + offset];
    }

    bool KeyboardLampLit(int pattern, int lamp)
    {
        model::LampArea area{};
        const auto lamps = Sim().Memory().lamps;
        std::copy_n(lamps.begin() + static_cast<std::ptrdiff_t>(model::kLampAreaSize) * Profile(), area.size(),
                    area.begin());
        return model::IsLampLit(area, pattern, lamp);
    }

    // Starts counting the requests the window sends.
    void Mark() { m_mark = Sim().CommandRequests().size(); }

    // The requests of command sent since the mark.
    std::vector<Sent> SentSinceMark(uint8_t command)
    {
        std::vector<Sent> sent;
        const auto requests = Sim().CommandRequests();
        for (std::size_t i = m_mark; i < requests.size(); ++i) {
            const auto& r = requests[i];
            if (r[device::kCommandOffset] != command) {
                continue;
            }
            const int length = r[device::kLengthOffset];
            const int address = r[device::kAddressOffset] | (r[device::kAddressOffset + 1] << 8);
            const auto data = r.begin() + static_cast<std::ptrdiff_t>(device::kDataOffset);
            sent.push_back({command, length, address, std::vector<uint8_t>(data, data + std::min(length, 56))});
        }
        return sent;
    }

    void Click(int id)
    {
        testing::Click(ControlOf(id));
        Settle();
    }

    void SwitchEditOn()
    {
        ASSERT_FALSE(Panel().IsLightingEditOn());
        Click(kLightingToggleId);
        ASSERT_TRUE(Panel().IsLightingEditOn());
    }

    // Picks code in the effect list as the user would.
    void ChooseEffect(int code)
    {
        const auto& effects = Panel().SupportedEffects();
        const auto found = std::find(effects.begin(), effects.end(), code);
        ASSERT_NE(found, effects.end()) << code;
        auto& list = ControlOf<QComboBox>(kEffectListId);
        const int position = static_cast<int>(found - effects.begin());
        list.setCurrentIndex(position);
        emit list.activated(position);
        Settle();
    }

    void ChooseUserPattern(int pattern)
    {
        auto& list = ControlOf<QComboBox>(kUserPatternListId);
        list.setCurrentIndex(pattern);
        emit list.activated(pattern);
        Settle();
    }

    // Gives the keyboard, before it is plugged in, another list of effects.
    void OfferEffects(std::initializer_list<uint8_t> codes)
    {
        const std::filesystem::path state = m_home / "sim.bin";
        sim::KeyboardMemory memory = sim::LoadStateFile(state).memory;
        std::fill(memory.info.begin() + device::kInfoEffectListOffset, memory.info.end(), 0);
        std::copy(codes.begin(), codes.end(), memory.info.begin() + device::kInfoEffectListOffset);
        ASSERT_TRUE(sim::SaveStateFile(state, memory));
    }

    const QPixmap* PictureOf(int id) { return ControlOf<controls::PictureStatic>(id).Picture(); }
    const QPixmap* Named(const char* name) { return &Panel().LightingPicture(name); }

    std::size_t m_mark = 0;
};

TEST_F(LightingPanelTest, ArrivalReadsTheLightingAndKeepsThePanelFolded)
{
    Start();
    const sim::KeyboardMemory memory = Sim().Memory();
    for (int profile = 0; profile < 3; ++profile) {
        const model::LightingBlock block = Dlg().LightingControl().Block(profile);
        EXPECT_TRUE(std::equal(block.begin(), block.end(), memory.lighting.begin() + 42 * profile)) << profile;
    }
    const auto lamps = memory.lamps.begin() + 180 * Profile();
    const model::LampArea held = Dlg().LightingControl().Lamps(Profile());
    EXPECT_TRUE(std::equal(held.begin(), held.end(), lamps));
    std::vector<int> lampReads;
    for (const Sent& read : SentSinceMark(device::kCmdReadLampArea)) {
        lampReads.push_back(read.length);
        EXPECT_EQ(read.address / 180, Profile()) << "only the current profile's lamps";
    }
    EXPECT_EQ(lampReads, (std::vector<int>{54, 54, 54, 18}));

    auto& effects = ControlOf<QComboBox>(kEffectListId);
    ASSERT_EQ(effects.count(), 29);
    EXPECT_EQ(effects.itemText(0).toStdString(), skin::LoadLangMode("1", skin::GetLanguageIndex()));
    EXPECT_EQ(effects.itemText(28).toStdString(), skin::LoadLangMode("254", skin::GetLanguageIndex()));
    EXPECT_EQ(effects.currentIndex(), 4) << "the keyboard's effect 5";
    EXPECT_EQ(ControlOf<controls::CBitmapSlider>(kBrightnessSliderId).GetSliderPos(), 3);
    EXPECT_EQ(ControlOf<controls::CBitmapSlider>(kSpeedSliderId).GetSliderPos(), 3) << "speed 1, mirrored";
    EXPECT_EQ(Dlg().Keyboard().ReportRate(), 0);

    EXPECT_FALSE(Panel().IsLightingEditOn());
    EXPECT_EQ(PictureOf(kLightingToggleId), Named("dengup.bmp"));
    for (int id : {kLightingToggleId, kLightingToggleLabelId, kReportRateLabelId}) {
        EXPECT_TRUE(Shown(id)) << id;
    }
    for (int id : kFoldedControls) {
        EXPECT_FALSE(Shown(id)) << id;
    }
    for (int id : kColourButtonIds) {
        EXPECT_FALSE(Shown(id)) << id;
    }
}

TEST_F(LightingPanelTest, SlidersWriteOnlyWhatChanged)
{
    Start();
    SwitchEditOn();
    auto& speed = ControlOf<controls::CBitmapSlider>(kSpeedSliderId);
    auto& brightness = ControlOf<controls::CBitmapSlider>(kBrightnessSliderId);
    const struct {
        controls::CBitmapSlider* slider;
        Qt::Key key;
        std::size_t offset;
        int written; // -1: nothing written
    } steps[] = {
        {&speed, Qt::Key_End, model::kSpeedOffset, 0},
        {&speed, Qt::Key_Home, model::kSpeedOffset, 4},
        {&speed, Qt::Key_Home, model::kSpeedOffset, -1},
        {&speed, Qt::Key_Right, model::kSpeedOffset, 3},
        {&brightness, Qt::Key_End, model::kBrightnessOffset, 4},
        {&brightness, Qt::Key_Right, model::kBrightnessOffset, -1},
        {&brightness, Qt::Key_Home, model::kBrightnessOffset, 0},
    };
    for (const auto& step : steps) {
        Mark();
        testing::Key(*step.slider, step.key);
        Settle();
        const auto writes = SentSinceMark(device::kCmdWriteLightingBytes);
        if (step.written < 0) {
            EXPECT_TRUE(writes.empty()) << "moved back to the value last written";
            continue;
        }
        ASSERT_EQ(writes.size(), 1U);
        EXPECT_EQ(writes[0].address, static_cast<int>(42 * Profile() + step.offset));
        EXPECT_EQ(KeyboardSetting(step.offset), step.written);
        EXPECT_EQ(SentSinceMark(device::kCmdBeginConfig).size(), 1U);
        EXPECT_EQ(SentSinceMark(device::kCmdEndConfig).size(), 1U);
    }
}

TEST_F(LightingPanelTest, KeyClicksLightAndDarkenLampsOnlyInThePerKeyEffect)
{
    Start();
    m_parts.openedFor = 0;
    Click(kKeyAId);
    EXPECT_EQ(m_parts.openedFor, kKeyAId) << "outside the edit a key opens its editor";

    SwitchEditOn();
    m_parts.openedFor = 0;
    Mark();
    Click(kKeyAId);
    EXPECT_EQ(m_parts.openedFor, 0);
    EXPECT_TRUE(SentSinceMark(device::kCmdWriteLampArea).empty()) << "effect 5 has no lamps to edit";

    ChooseEffect(model::kPerKeyEffect);
    EXPECT_EQ(KeyboardSetting(model::kEffectOffset), model::kPerKeyEffect);
    ChooseUserPattern(5);
    EXPECT_EQ(KeyboardSetting(model::kUserPatternOffset), 5);
    const struct {
        int toolId;
        int id;
        int lamp;
        bool lit;
    } clicks[] = {
        {kToolLightId, kKeyAId, kLampA, true},   {kToolDarkenId, kKeyAId, kLampA, false},
        {kToolDarkenId, kKeyAId, kLampA, false}, // already dark: written again
        {kToolLightId, kFnId, kFnLamp, true},    {kToolLightId, kFirstDKeyId, 0, true},
    };
    for (const auto& c : clicks) {
        Click(c.toolId);
        EXPECT_EQ(KeyboardSetting(model::kToolOffset), c.toolId == kToolLightId ? 0 : 1);
        Mark();
        // D1 is only clickable while the rows are swapped; its click arrives as a command.
        if (c.id == kFirstDKeyId) {
            Dlg().OnCommand(c.id);
            Settle();
        } else {
            Click(c.id);
        }
        const auto writes = SentSinceMark(device::kCmdWriteLampArea);
        ASSERT_EQ(writes.size(), 1U) << c.id;
        EXPECT_EQ(writes[0].length, 1);
        EXPECT_EQ(writes[0].address, 180 * Profile() + 18 * 5 + c.lamp / 8);
        EXPECT_EQ(KeyboardLampLit(5, c.lamp), c.lit) << c.id;
        auto& button = ControlOf<controls::CPngButton>(c.id);
        EXPECT_TRUE(button.IsFramed());
        EXPECT_EQ(button.FrameColor(), c.lit ? QColor(Qt::white) : QColor(Qt::black)) << c.id;
    }
    EXPECT_EQ(m_parts.openedFor, 0);
}

TEST_F(LightingPanelTest, AllLitAndAllDarkRewriteThePattern)
{
    Start();
    SwitchEditOn();
    ChooseEffect(model::kPerKeyEffect);
    ChooseUserPattern(2);
    for (const bool lit : {true, false}) {
        Mark();
        Click(lit ? kAllLitId : kAllDarkId);
        const auto writes = SentSinceMark(device::kCmdWriteLampArea);
        ASSERT_EQ(writes.size(), 1U);
        EXPECT_EQ(writes[0].address, 180 * Profile() + 36);
        EXPECT_EQ(writes[0].data, std::vector<uint8_t>(18, lit ? 0xFF : 0x00));
        EXPECT_EQ(PictureOf(kAllLitId), Named(lit ? "leddown.bmp" : "ledup.bmp"));
        EXPECT_EQ(PictureOf(kAllDarkId), Named(lit ? "sjsup.bmp" : "sjsdown.bmp"));
        for (int id : {kKeyAId, kGKeyIds[0], kFnId}) {
            EXPECT_EQ(ControlOf<controls::CPngButton>(id).FrameColor(), lit ? QColor(Qt::white) : QColor(Qt::black));
        }
    }
}

TEST_F(LightingPanelTest, EditSwitchesShowTheEffectsControlsAndLampFrames)
{
    Start();
    SwitchEditOn();
    EXPECT_EQ(PictureOf(kLightingToggleId), Named("dengdown.bmp"));
    for (int id : {kEffectListId, kBrightnessSliderId}) {
        EXPECT_TRUE(Shown(id)) << id;
    }
    for (int id : {kSpeedSliderId, kDirectionLeftId, kToolLightId, kUserPatternListId}) {
        EXPECT_FALSE(Shown(id)) << "effect 5 has no speed, direction or lamps: " << id;
    }
    ChooseEffect(model::kPerKeyEffect);
    EXPECT_TRUE(Shown(kUserPatternListId));
    EXPECT_TRUE(Shown(kUserPatternLabelId)) << "the pattern list has its label";
    EXPECT_EQ(ControlOf<QLabel>(kUserPatternLabelId).text().toStdString(),
              skin::LoadLangLight("Pattern", skin::GetLanguageIndex()));
    EXPECT_TRUE(Shown(kAllLitId));
    EXPECT_FALSE(Shown(kSpeedSliderId));
    // Factory pattern 0 lights W, A, S, D and the arrows.
    EXPECT_EQ(ControlOf<controls::CPngButton>(kKeyAId).FrameColor(), QColor(Qt::white));
    EXPECT_EQ(ControlOf<controls::CPngButton>(1075).FrameColor(), QColor(Qt::black)) << "B";

    Click(kLightingToggleId);
    EXPECT_FALSE(Panel().IsLightingEditOn());
    EXPECT_FALSE(ControlOf<controls::CPngButton>(kKeyAId).IsFramed());
    for (int id : kFoldedControls) {
        EXPECT_FALSE(Shown(id)) << id;
    }
}

TEST_F(LightingPanelTest, OnlyAChoiceFromTheOpenListWritesTheEffect)
{
    Start();
    SwitchEditOn();
    auto& effects = ControlOf<QComboBox>(kEffectListId);
    const int shown = effects.currentIndex();
    Mark();
    for (int delta : {-120, -120, 120, -240}) {
        testing::Wheel(effects, delta);
    }
    effects.setFocus();
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Right, Qt::Key_Left, Qt::Key_Home, Qt::Key_End,
                        Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_S, Qt::Key_R, Qt::Key_1}) {
        testing::Key(effects, key);
    }
    QInputMethodEvent typed;
    typed.setCommitString(QStringLiteral("s"));
    QApplication::sendEvent(&effects, &typed);
    Settle();
    EXPECT_EQ(effects.currentIndex(), shown);
    EXPECT_TRUE(SentSinceMark(device::kCmdWriteLightingBytes).empty());
    EXPECT_EQ(KeyboardSetting(model::kEffectOffset), 5);

    // Alt+Down opens the list; the arrows move within it and Enter chooses.
    QTest::keyClick(&effects, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(effects.view()->isVisible());
    QTest::keyClick(effects.view(), Qt::Key_Down);
    QTest::keyClick(effects.view(), Qt::Key_Return);
    Settle();
    const auto writes = SentSinceMark(device::kCmdWriteLightingBytes);
    ASSERT_EQ(writes.size(), 1U);
    EXPECT_EQ(writes[0].data, std::vector<uint8_t>{Panel().SupportedEffects()[static_cast<std::size_t>(shown + 1)]});
    EXPECT_EQ(KeyboardSetting(model::kEffectOffset), Panel().SupportedEffects()[static_cast<std::size_t>(shown + 1)]);

    ChooseEffect(model::kPerKeyEffect);
    auto& patterns = ControlOf<QComboBox>(kUserPatternListId);
    Mark();
    testing::Wheel(patterns, -120);
    testing::Key(patterns, Qt::Key_End);
    Settle();
    EXPECT_TRUE(SentSinceMark(device::kCmdWriteLightingBytes).empty()) << "the pattern list writes only a choice too";
}

TEST_F(LightingPanelTest, PressesOnControlsNeverMoveTheWindowButTheBackgroundDoes)
{
    int moves = 0;
    skin::CBaseDialog::SetSystemMoveHandler([&moves](QWindow&) {
        ++moves;
        return true;
    });
    Start();
    Dlg().show();
    SwitchEditOn();
    // A press on the control, a tremble, then a real drag, as a hurried click does.
    const auto pressAndDrag = [&](QWidget& control, QPoint at) {
        testing::Press(control, at);
        testing::MoveMouse(control, at + QPoint(2, 1), Qt::LeftButton);
        testing::MoveMouse(control, at + QPoint(40, 30), Qt::LeftButton);
        testing::Release(control, at + QPoint(40, 30));
        testing::Pump();
    };
    ChooseEffect(model::kPerKeyEffect);
    std::vector<int> controls{kLightingToggleId, kToolLightId,       kToolDarkenId, kAllDarkId,
                              kAllLitId,         kBrightnessLabelId, kKeyAId,       1125 /* a lock lamp: disabled */};
    for (int id : controls) {
        pressAndDrag(ControlOf(id), ControlOf(id).rect().center());
        EXPECT_EQ(moves, 0) << id;
    }
    ChooseEffect(3);
    for (int id : {kDirectionLeftId, kDirectionRightId}) {
        pressAndDrag(ControlOf(id), ControlOf(id).rect().center());
        EXPECT_EQ(moves, 0) << id;
    }

    const QPoint background(600, 25);
    ASSERT_EQ(Dlg().childAt(background), nullptr);
    testing::Press(Dlg(), background);
    testing::MoveMouse(Dlg(), background + QPoint(2, 1), Qt::LeftButton);
    EXPECT_EQ(moves, 0) << "a tremble within the drag distance";
    testing::MoveMouse(Dlg(), background + QPoint(40, 30), Qt::LeftButton);
    testing::Release(Dlg(), background + QPoint(40, 30));
    EXPECT_EQ(moves, 1);
    skin::CBaseDialog::SetSystemMoveHandler({});
}

TEST_F(LightingPanelTest, DirectionPicturesFollowTheEffect)
{
    Start();
    SwitchEditOn();
    ChooseEffect(3);
    EXPECT_TRUE(Shown(kDirectionLeftId));
    EXPECT_EQ(PictureOf(kDirectionLeftId), Named("kuosandown.bmp")) << "the keyboard's direction 255";
    EXPECT_EQ(PictureOf(kDirectionRightId), Named("julong.bmp"));
    Mark();
    Click(kDirectionRightId);
    EXPECT_EQ(PictureOf(kDirectionLeftId), Named("kuosan.bmp"));
    EXPECT_EQ(PictureOf(kDirectionRightId), Named("julongdown.bmp"));
    EXPECT_EQ(KeyboardSetting(model::kDirectionOffset), 0);
    EXPECT_EQ(SentSinceMark(device::kCmdWriteLightingBytes).size(), 1U);

    ChooseEffect(15);
    EXPECT_EQ(PictureOf(kDirectionLeftId), Named("upup.bmp"));
    EXPECT_EQ(PictureOf(kDirectionRightId), Named("downdown.bmp"));
    Click(kDirectionLeftId);
    EXPECT_EQ(PictureOf(kDirectionLeftId), Named("updown.bmp"));
    EXPECT_EQ(KeyboardSetting(model::kDirectionOffset), 255);

    ChooseEffect(5);
    EXPECT_FALSE(Shown(kDirectionLeftId));
    EXPECT_EQ(PictureOf(kDirectionLeftId), Named("leftdown.bmp"));
}

TEST_F(LightingPanelTest, UnknownEffectIsNamedButChoosingItHidesThePanelAndWritesNothing)
{
    OfferEffects({5, 40, model::kPerKeyEffect});
    Start();
    auto& effects = ControlOf<QComboBox>(kEffectListId);
    ASSERT_EQ(effects.count(), 3);
    EXPECT_EQ(effects.itemText(1).toStdString(), skin::LoadLangMode("40", skin::GetLanguageIndex()));
    SwitchEditOn();
    Mark();
    ChooseEffect(40);
    EXPECT_TRUE(SentSinceMark(device::kCmdWriteLightingBytes).empty());
    EXPECT_EQ(KeyboardSetting(model::kEffectOffset), 5);
    for (int id : kFoldedControls) {
        EXPECT_FALSE(Shown(id)) << id;
    }
    EXPECT_TRUE(Shown(kLightingToggleId)) << "the edit can still be switched off";
}

TEST_F(LightingPanelTest, RestoreDefaultsWritesTheFactoryLighting)
{
    for (const bool perKey : {true, false}) {
        SCOPED_TRACE(perKey ? "with the per-key effect" : "without the per-key effect");
        if (!perKey) {
            OfferEffects({1, 5, 12});
        }
        Start();
        Mark();
        Click(kFirstProfileId + Profile());
        EXPECT_EQ(SentSinceMark(device::kCmdReadLampArea).empty(), !perKey) << "the lamp area is read when it exists";
        SwitchEditOn();
        ChooseEffect(12);
        testing::Key(ControlOf(kBrightnessSliderId), Qt::Key_Home);
        Settle();
        Click(kReportRateIds[2]);

        m_prompts.messageBoxAnswers.push_back(controls::PromptResult::Yes);
        Mark();
        Dlg().OnCommand(kRestoreDefaultsId);
        Settle();
        const auto lampWrites = SentSinceMark(device::kCmdWriteLampArea);
        if (perKey) {
            ASSERT_EQ(lampWrites.size(), 4U);
            for (std::size_t i = 0; i < 4; ++i) {
                EXPECT_EQ(lampWrites[i].length, 45);
                EXPECT_EQ(lampWrites[i].address, static_cast<int>(180 * Profile() + 45 * i));
            }
            EXPECT_TRUE(std::equal(model::DefaultLampPatterns().begin(), model::DefaultLampPatterns().end(),
                                   Sim().Memory().lamps.begin() + 180 * Profile()));
        } else {
            EXPECT_TRUE(lampWrites.empty());
        }
        const auto defaults = model::DefaultLightingBlock();
        const auto lighting = Sim().Memory().lighting;
        EXPECT_TRUE(std::equal(defaults.begin(), defaults.end(), lighting.begin() + 42 * Profile()));
        EXPECT_EQ(Dlg().Keyboard().ReportRate(), 0);
        EXPECT_EQ(ControlOf<QComboBox>(kEffectListId).currentText().toStdString(),
                  skin::LoadLangMode("5", skin::GetLanguageIndex()));
        EXPECT_EQ(ControlOf<controls::CBitmapSlider>(kBrightnessSliderId).GetSliderPos(), 3)
            << "the sliders show what was written";
        EXPECT_EQ(ControlOf<controls::CBitmapSlider>(kSpeedSliderId).GetSliderPos(), 3);
        Click(kLightingToggleId);
        m_dlg.reset();
        ::End();
    }
}

TEST_F(LightingPanelTest, LightingChangedOnTheKeyboardIsReadAgain)
{
    Start();
    const uint8_t brightness = 1;
    ASSERT_EQ(Dlg().Commands().WriteLightingBytes({&brightness, 1}, 42 * Profile() + 1), device::kResultOk);
    Mark();
    Sim().SendConsumerEvent(device::kEventLightingChanged);
    EXPECT_TRUE(WaitUntil([&] { return ControlOf<controls::CBitmapSlider>(kBrightnessSliderId).GetSliderPos() == 1; }));
    EXPECT_EQ(SentSinceMark(device::kCmdReadLightingBytes).size(), 3U);
    EXPECT_TRUE(SentSinceMark(device::kCmdReadLampArea).empty());
}

TEST_F(LightingPanelTest, EditFlagSurvivesARestart)
{
    Start();
    SwitchEditOn();
    EXPECT_EQ(platform::ReadPrivateProfileString("KEYCOLOR", "DengCheck", "", app::GetProgramPaths().settingsFile),
              "1");
    m_dlg.reset();
    ::End();
    Start();
    EXPECT_TRUE(Panel().IsLightingEditOn());
    EXPECT_TRUE(Shown(kEffectListId));
    EXPECT_EQ(PictureOf(kLightingToggleId), Named("dengdown.bmp"));

    Click(kLightingToggleId);
    EXPECT_EQ(platform::ReadPrivateProfileString("KEYCOLOR", "DengCheck", "", app::GetProgramPaths().settingsFile),
              "0");
}

} // namespace
} // namespace tavrix::ui
