#include <QCursor>
#include <QToolTip>
#include <optional>

#include "app/app_state.h"
#include "device/commands.h"
#include "device/protocol.h"
#include "main_window_fixture.h"
#include "model/key_code.h"
#include "model/key_names.h"
#include "model/profile_file.h"
#include "platform/app_profile.h"
#include "platform/clock.h"
#include "skin/skin_rect.h"
#include "ui/main_window/drawn_keyboard.h"
#include "ui/main_window/key_layout.h"

namespace tavrix::ui {
namespace {

using testing::MainWindowTest;

constexpr uint16_t kKeyA = 0x01E;
constexpr uint16_t kKeyB = 0x030;
constexpr uint16_t kPrintScreen = 0x137;
constexpr int kKeyAId = 1058;
constexpr int kPrintScreenId = 1091;
constexpr int kG3Id = 1002;
constexpr int kG9Id = 1143;
constexpr std::array<int, 4> kF1ToF4{1010, 1011, 1012, 1013};

model::KeyAssignment Remap(uint16_t to)
{
    return {model::kTypeKey, 0, to};
}

class DrawnKeyboardTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_ownKeyboard = true;
        platform::SetRegistryKey("Tavrix_Quenda", "Tavrix");
    }

    DrawnKeyboard& Keyboard() { return Dlg().Keyboard(); }

    controls::CPngButton& ButtonOf(int id)
    {
        auto* button = Dlg().GetDlgItem<controls::CPngButton>(id);
        EXPECT_NE(button, nullptr) << id;
        return *button;
    }

    void MarkKeys()
    {
        std::lock_guard lock(app::ModelLock());
        Dlg().RefreshKeyMarks();
    }

    // Toggles the bank on the keyboard and waits until the window has shown it.
    void ToggleBank()
    {
        const int before = Dlg().ActiveBank();
        const QString caption = ButtonOf(kGKeyIds[0]).text();
        Sim().SendConsumerEvent(device::kEventBankToggle);
        ASSERT_TRUE(WaitUntil([&] { return Dlg().ActiveBank() != before && ButtonOf(kGKeyIds[0]).text() != caption; }));
    }

    // The tooltip the button shows once the pointer rests on it. A button the pointer crossed on
    // its way may show its own first, so the wait is for the expected text, within the bound.
    QString TooltipOf(int id, const QString& expected)
    {
        controls::CPngButton& button = ButtonOf(id);
        QToolTip::hideText();
        WaitUntil([] { return !QToolTip::isVisible(); });
        QCursor::setPos(button.mapToGlobal(button.rect().center()));
        testing::Hover(button);
        WaitUntil([&] { return QToolTip::isVisible() && QToolTip::text() == expected; });
        const QString text = QToolTip::text();
        QToolTip::hideText();
        testing::Pump();
        return text;
    }

    int CurrentProfile() { return Dlg().Commands().GetCurrentProfile(); }
    int KeyboardProfile() { return Sim().Memory().info[device::kInfoCurrentProfileOffset]; }

    static std::u16string Lookup(std::string_view key) { return Text(std::string(key).c_str()).toStdU16String(); }
};

TEST_F(DrawnKeyboardTest, ButtonsSitWhereTheSkinSaysAndTheArrowsFollowTheFlip)
{
    Start();
    const struct {
        int id;
        const char* key;
    } buttons[] = {
        {kKeyAId, "KEY_01E"},
        {kPrintScreenId, "KEY_0B7"},
        {1089, "KEY_09D"},
        {kGKeyIds[0], "FUNC_G1"},
        {kG9Id, "FUNC_G9"},
        {kFnId, "KEY_FN"},
        {kLockAbId, "LOCK_AB"},
        {kFlipIndicatorId, "FLIP_0"},
        {kReportRateIds[3], "FUNC_REPORT4"},
        {kArrowLeftId, "LEFT_ARROW"},
        {kArrowRightId, "RIGHT_ARROW"},
    };
    for (const auto& button : buttons) {
        const skin::SkinRect rect = skin::ReadSkinRect(Dlg().SkinIniPath(), "BUTTONINFO", button.key);
        EXPECT_EQ(ButtonOf(button.id).geometry(), QRect(rect.x, rect.y, rect.w, rect.h)) << button.key;
    }
    EXPECT_FALSE(ButtonOf(1125).isEnabled()) << "lock lamps only show";

    const auto arrowImage = [&](const char* key) {
        const skin::SkinRect rect = skin::ReadSkinRect(Dlg().SkinIniPath(), "BUTTONINFO2", key);
        return QPoint(rect.x, rect.y);
    };
    const struct {
        const char* left;
        const char* right;
    } looks[] = {{"DOWN_ARROW_LEFT1", "DOWN_ARROW_RIGHT1"}, {"UP_ARROW_LEFT1", "UP_ARROW_RIGHT1"}};
    for (const auto& look : looks) {
        EXPECT_TRUE(WaitUntil([&] {
            return ButtonOf(kArrowLeftId).SheetOffset() == arrowImage(look.left) &&
                   ButtonOf(kArrowRightId).SheetOffset() == arrowImage(look.right);
        })) << look.left;
        ButtonOf(kFlipLeftId).click();
    }
}

TEST_F(DrawnKeyboardTest, ClickResolvesTheSlotOfTheKeyOrOfTheGKeyInTheActiveBank)
{
    Start();
    const struct {
        int id;
        int bank;
        std::size_t slot;
    } cases[] = {
        {kKeyAId, 0, 0x1E}, {kPrintScreenId, 0, 0xB7}, {kG3Id, 0, 258},
        {kG3Id, 1, 267},    {kG9Id, 1, 273},           {kKeyAId, 1, 0x1E},
    };
    for (const auto& c : cases) {
        if (Dlg().ActiveBank() != c.bank) {
            ToggleBank();
        }
        m_parts.openedFor = 0;
        ButtonOf(c.id).click();
        EXPECT_EQ(m_parts.openedFor, c.id) << "the assignment editor opens for the key";
        EXPECT_EQ(Keyboard().KeySlotOf(c.id), std::optional<std::size_t>(c.slot)) << c.id << " bank " << c.bank;
    }
}

TEST_F(DrawnKeyboardTest, LightingEditAndFnDecideWhereAClickGoes)
{
    Start();
    const struct {
        int id;
        bool lightingEdit;
        bool opens;
        bool togglesLamp;
    } cases[] = {
        {kFnId, false, false, false},        {kFnId, true, false, true},        {kKeyAId, true, false, true},
        {kFirstDKeyId, false, false, false}, {kFirstDKeyId, true, false, true}, {kG3Id, true, true, false},
        {kKeyAId, false, true, false},
    };
    for (const auto& c : cases) {
        m_parts.lightingEdit = c.lightingEdit;
        m_parts.openedFor = 0;
        m_parts.lampToggledAt = 0;
        EXPECT_TRUE(Dlg().OnCommand(c.id));
        const std::string where = std::to_string(c.id) + (c.lightingEdit ? " in the lighting edit" : "");
        EXPECT_EQ(m_parts.openedFor, c.opens ? c.id : 0) << where;
        EXPECT_EQ(m_parts.lampToggledAt, c.togglesLamp ? c.id : 0) << where;
    }
    EXPECT_EQ(Keyboard().KeySlotOf(kFnId), std::nullopt);
    EXPECT_EQ(Keyboard().KeySlotOf(kFirstDKeyId), std::nullopt);
    EXPECT_EQ(Keyboard().KeySlotOf(1005), std::nullopt);
}

TEST_F(DrawnKeyboardTest, AssignedKeysAreSelectedAndDescribed)
{
    Start();
    const int profile = CurrentProfile();
    ASSERT_GE(profile, 0);
    Edit(profile, model::KeyIndexOf(kKeyA), Remap(kKeyB));
    Edit(profile, model::KeyIndexOf(kPrintScreen), {model::kTypeDisabled, 0, 0});
    Edit(profile, model::GKeySlot(model::GKeyBank::A, 0), Remap(kKeyA));
    Edit((profile + 1) % 3, model::KeyIndexOf(kKeyB), Remap(kKeyA));
    MarkKeys();

    for (const DrawnKey& key : DrawnKeys()) {
        const bool assigned = key.id == kKeyAId || key.id == kPrintScreenId;
        EXPECT_EQ(ButtonOf(key.id).IsSelected(), assigned) << key.id;
    }
    for (std::size_t j = 0; j < kGKeyIds.size(); ++j) {
        EXPECT_EQ(ButtonOf(kGKeyIds[j]).IsSelected(), j == 0) << "G" << j + 1;
    }

    const QString set = Text("KEY_PROMPT_SET");
    const QString nameA = QString::fromStdU16String(model::KeyName(kKeyA, Lookup));
    const QString nameB = QString::fromStdU16String(model::KeyName(kKeyB, Lookup));
    const struct {
        int id;
        QString tooltip;
    } tooltips[] = {
        {kKeyAId, nameA + set + Text("KEY_PROMPT_SINGLE") + nameB + ")"},
        {1075, nameB},
        {kGKeyIds[0], "G1" + set + Text("KEY_PROMPT_SINGLE") + nameA + ")"},
        {kGKeyIds[1], "G2"},
    };
    for (const auto& t : tooltips) {
        EXPECT_EQ(TooltipOf(t.id, t.tooltip), t.tooltip) << t.id;
    }
}

TEST_F(DrawnKeyboardTest, BankToggleRelabelsTheGKeysAndTheirMarksFollow)
{
    Start();
    const int profile = CurrentProfile();
    ASSERT_GE(profile, 0);
    Edit(profile, model::GKeySlot(model::GKeyBank::B, 0), Remap(kKeyA));
    MarkKeys();
    const MainSheets& sheets = Dlg().Sheets();
    const QString remapped = "G1" + Text("KEY_PROMPT_SET") + Text("KEY_PROMPT_SINGLE") +
                             QString::fromStdU16String(model::KeyName(kKeyA, Lookup)) + ")";
    const struct {
        const char* g1;
        const char* g5;
        bool g1Selected;
        QString g1Tooltip;
        const QPixmap* lockLook;
    } expected[] = {{"A1", "A5", false, "G1", &sheets.normal}, {"B1", "B5", true, remapped, &sheets.over}};
    for (const auto& e : expected) {
        EXPECT_EQ(TooltipOf(kGKeyIds[0], e.g1Tooltip), e.g1Tooltip) << "the tooltip follows the bank";
        EXPECT_EQ(ButtonOf(kGKeyIds[0]).text(), e.g1);
        EXPECT_EQ(ButtonOf(kGKeyIds[4]).text(), e.g5);
        for (std::size_t j = 5; j < kGKeyIds.size(); ++j) {
            EXPECT_TRUE(ButtonOf(kGKeyIds[j]).text().isEmpty()) << "G" << j + 1;
        }
        EXPECT_EQ(ButtonOf(kGKeyIds[0]).IsSelected(), e.g1Selected);
        EXPECT_EQ(ButtonOf(kLockAbId).ChosenSheet(), e.lockLook);
        if (e.lockLook == &sheets.normal) {
            ToggleBank();
        }
    }
}

TEST_F(DrawnKeyboardTest, FlipValueEnablesOneRowAndTheFlipButtonsToggleIt)
{
    ASSERT_TRUE(platform::WriteProfileString("PROFILES", "Flip", "5"));
    Start();
    EXPECT_EQ(ReadFlipValue(), 5);
    const struct {
        int clickId; // 0: as started
        const char* stored;
        bool flipped;
    } steps[] = {{0, "5", true}, {kFlipLeftId, "0", false}, {kFlipRightId, "1", true}, {kFlipLeftId, "0", false}};
    for (const auto& step : steps) {
        if (step.clickId != 0) {
            ButtonOf(step.clickId).click();
        }
        EXPECT_EQ(platform::GetProfileString("PROFILES", "Flip", "?"), step.stored);
        for (int id : kF1ToF4) {
            EXPECT_EQ(ButtonOf(id).isEnabled(), !step.flipped) << id;
        }
        for (int i = 0; i < kDKeyCount; ++i) {
            EXPECT_EQ(ButtonOf(kFirstDKeyId + i).isEnabled(), step.flipped) << kFirstDKeyId + i;
        }
        EXPECT_EQ(ButtonOf(kFlipIndicatorId).ChosenSheet(),
                  step.flipped ? &Dlg().Sheets().normal2 : &Dlg().Sheets().normal);
        EXPECT_EQ(ButtonOf(kF1ToF4[0]).ChosenSheet(), step.flipped ? &Dlg().Sheets().normal2 : &Dlg().Sheets().normal)
            << "F1 greyed while swapped";
        EXPECT_EQ(ButtonOf(kFirstDKeyId).ChosenSheet(),
                  step.flipped ? &Dlg().Sheets().normal : &Dlg().Sheets().disabled)
            << "D1 greyed until swapped";
    }
    for (int i = 0; i < kDKeyCount; ++i) {
        EXPECT_TRUE(ButtonOf(kFirstDKeyId + i).isVisibleTo(&Dlg()));
        EXPECT_GE(ButtonOf(kFirstDKeyId + i).width(), 24);
    }
    // The two looks of the indicator are different pictures.
    const QRect indicator = ButtonOf(kFlipIndicatorId).geometry().translated(-1, -1);
    EXPECT_NE(Dlg().Sheets().normal.copy(indicator).toImage(), Dlg().Sheets().normal2.copy(indicator).toImage());
}

TEST_F(DrawnKeyboardTest, ProfileButtonOfTheActiveProfileReadsTheLightingButDoesNotSwitch)
{
    Start();
    const int profile = CurrentProfile();
    ASSERT_GE(profile, 0);
    Edit(profile, model::KeyIndexOf(kKeyA), Remap(kKeyB));
    m_parts.lightingEdit = true;
    const int reads = m_parts.lightingReads;
    ButtonOf(kFirstProfileId + profile).click();
    EXPECT_EQ(m_parts.lightingReads, reads + 1);
    EXPECT_EQ(Dlg().LightingControl().Profile(), profile);
    EXPECT_FALSE(m_parts.lightingEdit) << "the lighting edit ends";
    EXPECT_TRUE(MessageTexts().empty()) << "nothing to ask: there is no switch";
    EXPECT_EQ(CurrentProfile(), profile);
    EXPECT_EQ(KeyboardProfile(), profile);
    EXPECT_TRUE(Dlg().IsApplyEnabled());
}

TEST_F(DrawnKeyboardTest, ProfileButtonSwitchesTheKeyboardAndTheMarks)
{
    Start();
    const int profile = CurrentProfile();
    ASSERT_GE(profile, 0);
    const int other = (profile + 1) % 3;
    {
        std::lock_guard lock(app::ModelLock());
        Dlg().Sync().Model().image.blocks[static_cast<size_t>(other)][model::KeyIndexOf(kKeyA)] = Remap(kKeyB);
    }
    ButtonOf(kFirstProfileId + other).click();
    EXPECT_EQ(CurrentProfile(), other);
    EXPECT_EQ(KeyboardProfile(), other);
    EXPECT_EQ(Dlg().LightingControl().Profile(), other);
    for (int i = 0; i < kProfileButtonCount; ++i) {
        EXPECT_EQ(ButtonOf(kFirstProfileId + i).IsSelected(), i == other) << i;
    }
    EXPECT_TRUE(ButtonOf(kKeyAId).IsSelected()) << "the keys of the new profile are marked";
}

TEST_F(DrawnKeyboardTest, SwitchingWithUnappliedChangesAsksFirst)
{
    for (const controls::PromptResult answer : {controls::PromptResult::Yes, controls::PromptResult::No}) {
        SCOPED_TRACE(answer == controls::PromptResult::Yes ? "Yes" : "No");
        Start();
        const int profile = CurrentProfile();
        ASSERT_GE(profile, 0);
        const int other = (profile + 1) % 3;
        const std::size_t keyA = model::KeyIndexOf(kKeyA);
        const model::KeyAssignment before = SlotOf(profile, keyA);
        Edit(profile, keyA, Remap(kKeyB));
        m_prompts.messageBoxAnswers.push_back(answer);
        EXPECT_EQ(Dlg().SwitchProfile(other), 1);
        ASSERT_EQ(MessageTexts().size(), 1u);
        EXPECT_EQ(MessageTexts()[0], Text("PROFILE_SELECT_PROMPT"));
        EXPECT_EQ(m_prompts.messageBoxes[0].buttons, controls::PromptButtons::YesNo);
        EXPECT_FALSE(Dlg().IsApplyEnabled());
        const bool applied = answer == controls::PromptResult::Yes;
        EXPECT_EQ(SlotOf(profile, keyA), applied ? Remap(kKeyB) : before) << "No restores the cached model";
        EXPECT_EQ(KeyboardProfile(), other);
        EXPECT_EQ(CurrentProfile(), other);
        Dlg().ExitRoutine();
        TearDown();
        m_prompts.messageBoxes.clear();
        SetUp();
    }
}

TEST_F(DrawnKeyboardTest, SwitchProfileArguments)
{
    Start();
    ASSERT_EQ(Dlg().SwitchProfile(1), 1);
    const struct {
        int n;
        int result;
        int profile;
    } cases[] = {{3, 1, 0}, {-1, 1, 0}, {2, 1, 2}, {7, 1, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(Dlg().SwitchProfile(c.n), c.result) << c.n;
        EXPECT_EQ(KeyboardProfile(), c.profile) << c.n;
        EXPECT_EQ(CurrentProfile(), c.profile) << c.n;
    }
    EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(DrawnKeyboardTest, SwitchingWhileTheAssignmentEditorIsOpenIsRefused)
{
    Start();
    const int profile = CurrentProfile();
    ASSERT_GE(profile, 0);
    m_parts.editorOpen = true;
    EXPECT_EQ(Dlg().SwitchProfile((profile + 1) % 3), 0);
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(MessageTexts()[0], Text("PROFILE_SEELCT_PROMPT2"));
    ButtonOf(kFirstProfileId + (profile + 1) % 3).click();
    EXPECT_EQ(KeyboardProfile(), profile);
    for (int i = 0; i < kProfileButtonCount; ++i) {
        EXPECT_EQ(ButtonOf(kFirstProfileId + i).IsSelected(), i == profile) << "the selection stays";
    }
}

TEST_F(DrawnKeyboardTest, ProfileCaptionNamesTheCurrentProfileOnceItIsKnown)
{
    for (const bool keyboard : {true, false}) {
        SCOPED_TRACE(keyboard ? "keyboard" : "no keyboard");
        Start(keyboard);
        Dlg().show();
        if (keyboard) {
            ASSERT_EQ(Dlg().SwitchProfile(1), 1);
        }
        const QString caption = keyboard ? Text("PROFILE_NUMBER").replace("%d", "2") : Text("DEFAULT_PROFILE_NAME");
        EXPECT_EQ(ButtonOf(1005).text(), caption);
        EXPECT_EQ(TooltipOf(1005, Text("PROFILE_TIP") + caption), Text("PROFILE_TIP") + caption);
        if (!keyboard) {
            Sim().Replug();
            EXPECT_TRUE(WaitUntil([&] { return ButtonOf(1005).text() != caption; }));
            EXPECT_EQ(ButtonOf(1005).text(),
                      Text("PROFILE_NUMBER").replace("%d", QString::number(CurrentProfile() + 1)))
                << "a keyboard plugged in later names its profile";
        }
        Dlg().ExitRoutine();
        TearDown();
        SetUp();
    }
}

TEST_F(DrawnKeyboardTest, ReportRateGoesToByte15OfTheLightingProfile)
{
    Start();
    const int profile = CurrentProfile();
    ASSERT_GE(profile, 0);
    const int other = (profile + 2) % 3;
    const struct {
        int lightingProfile;
        int code;
    } cases[] = {{profile, 3}, {profile, 1}, {other, 2}, {other, 0}};
    for (const auto& c : cases) {
        if (Dlg().LightingControl().Profile() != c.lightingProfile) {
            ButtonOf(kFirstProfileId + c.lightingProfile).click();
        }
        ButtonOf(kReportRateIds[c.code]).click();
        Settle();
        EXPECT_EQ(Sim().Memory().lighting[42 * c.lightingProfile + 15], c.code);
        EXPECT_EQ(Keyboard().ReportRate(), c.code);
        for (int k = 0; k < kReportRateCount; ++k) {
            EXPECT_EQ(ButtonOf(kReportRateIds[k]).IsSelected(), k == c.code) << k;
        }
    }
}

} // namespace
} // namespace tavrix::ui
