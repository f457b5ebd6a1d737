#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <mutex>

#include "app/app_state.h"
#include "composite_fixture.h"
#include "platform/app_profile.h"
#include "platform/registry_store.h"
#include "skin/language.h"
#include "ui/editors/action_view.h"

// The macro page in the key-assignment dialog, offscreen: the macro list's entries, the action
// list's buttons and in-place editors, the repeat count, the record-delay setting, what Apply and
// Cancel do with it all, and how recording starts and stops. What a recording takes from real key
// and mouse events is tested on a real X server (macro_recording_xvfb_test.cpp).
namespace tavrix::ui {
namespace {

using model::MacroAction;
using testing::CompositeTest;

constexpr uint16_t kKeyA = 0x01E;
constexpr uint16_t kKeyB = 0x030;
constexpr uint16_t kKeyH = 0x023;
constexpr int kKeyBId = 1075;
constexpr uint16_t kDown = model::kMacroPress;
constexpr uint16_t kUp = model::kMacroRelease;
const char* const kSection = "PROFILES";

class MacroPageTest : public CompositeTest {
protected:
    void SetUp() override
    {
        CompositeTest::SetUp();
        platform::SetRegistryKey("Tavrix_Quenda", "Tavrix");
        StartShown();
    }

    // Puts macros numbered 1.. with these actions into the model.
    void StoreMacros(const std::vector<std::vector<MacroAction>>& actions)
    {
        std::vector<model::MacroRecord> records;
        for (const std::vector<MacroAction>& macro : actions) {
            model::MacroRecord record;
            record.number = static_cast<uint16_t>(records.size() + 1);
            record.SetName(u"Stored " + std::u16string(1, static_cast<char16_t>(u'0' + record.number)));
            record.actionCount = static_cast<uint16_t>(macro.size());
            std::copy(macro.begin(), macro.end(), record.actions.begin());
            records.push_back(record);
        }
        std::lock_guard lock(app::ModelLock());
        ASSERT_TRUE(Dlg().Sync().Model().macros.Assign(std::move(records)));
    }

    // Runs steps with the dialog open for key B on its macro page, showing the first macro.
    void OnMacroPage(const std::function<void(Tavrix_DlgComposite&)>& steps)
    {
        WhileOpen([&] { Composite().OpenForKey(kKeyBId); },
                  [&](Tavrix_DlgComposite& dialog) {
                      dialog.OnCommand(kMacroPageId);
                      steps(dialog);
                  });
    }

    static QComboBox& MacroList(Tavrix_DlgComposite& dialog) { return *dialog.GetDlgItem<QComboBox>(kMacroListId); }
    static ActionView& Actions(Tavrix_DlgComposite& dialog) { return *dialog.GetDlgItem<ActionView>(kActionListId); }
    static QLineEdit& RepeatCount(Tavrix_DlgComposite& dialog) { return *dialog.GetDlgItem<QLineEdit>(kRepeatCountId); }
    static bool Enabled(Tavrix_DlgComposite& dialog, int id) { return testing::Control(dialog, id).isEnabled(); }
    static void Choose(Tavrix_DlgComposite& dialog, int entry)
    {
        MacroList(dialog).setCurrentIndex(entry);
        emit MacroList(dialog).activated(entry);
    }

    // Starts editing the cell of the selected row; its editor.
    static QWidget* EditCell(Tavrix_DlgComposite& dialog, int row, int column)
    {
        ActionView& view = Actions(dialog);
        const QModelIndex index = view.model()->index(row, column);
        view.SelectRow(row);
        view.setCurrentIndex(index);
        view.edit(index);
        return view.indexWidget(index);
    }
};

TEST_F(MacroPageTest, AddedMacrosTakeTheNextNameAndTheLowestFreeNumber)
{
    StoreMacros({{}, {}, {}});
    {
        std::lock_guard lock(app::ModelLock());
        Dlg().Sync().Model().macros.Records()[1].SetName(u"Macro 1");
    }
    const QString newName = Text("MACRO_NEW_PREFIX") + "2";
    OnMacroPage([&](Tavrix_DlgComposite& dialog) {
        Choose(dialog, 2);
        dialog.OnCommand(kDeleteMacroId);
        EXPECT_EQ(MacroList(dialog).count(), 2);
        EXPECT_EQ(MacroList(dialog).currentIndex(), 1) << "the entry before the deleted one";
        dialog.OnCommand(kAddMacroId);
        EXPECT_EQ(MacroList(dialog).count(), 3);
        EXPECT_EQ(MacroList(dialog).currentIndex(), 2);
        EXPECT_EQ(MacroList(dialog).currentText(), newName) << "a macro's name begins with the first";
        EXPECT_TRUE(Enabled(dialog, kRecordId));
        EXPECT_TRUE(Enabled(dialog, kCompositeApplyId));
        dialog.OnCommand(skin::IDOK);
    });
    const std::vector<model::MacroRecord> stored = StoredMacros();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[2].Name(), newName.toStdU16String());
    EXPECT_EQ(stored[2].number, 3) << "the deleted macro's number is free again";
    EXPECT_EQ(stored[2].newFlag, 0);
    EXPECT_EQ(SlotOf(Profile(), model::KeyIndexOf(kKeyB)), (model::KeyAssignment{model::kTypeMacro, 1, 3}));
}

TEST_F(MacroPageTest, TheHundredAndFirstMacroIsRefused)
{
    StoreMacros(std::vector<std::vector<MacroAction>>(100));
    OnMacroPage([&](Tavrix_DlgComposite& dialog) {
        dialog.OnCommand(kAddMacroId);
        EXPECT_EQ(MacroList(dialog).count(), 100);
    });
    ASSERT_FALSE(MessageTexts().empty());
    EXPECT_EQ(MessageTexts().back(), Text("MACRO_ERR_MAX").replace("%d", "100"));
}

// A macro a stored key plays, in any profile and G1 of the current one included, is deleted only
// after the user says Yes; the keys that played it go back to their default at Apply.
TEST_F(MacroPageTest, DeletingAMacroAKeyPlaysAsksFirst)
{
    StoreMacros({{}, {}});
    const int other = (Profile() + 1) % device::kProfileCount;
    const struct {
        const char* name;
        int profile;
        size_t slot;
    } cases[] = {
        {"G1 of the current profile", Profile(), model::GKeySlot(model::GKeyBank::A, 0)},
        {"a key of another profile", other, model::KeyIndexOf(kKeyA)},
    };
    for (const auto& c : cases) {
        Edit(c.profile, c.slot, {model::kTypeMacro, 1, 2});
        m_prompts.messageBoxAnswers = {controls::PromptResult::No, controls::PromptResult::Yes};
        OnMacroPage([&](Tavrix_DlgComposite& dialog) {
            Choose(dialog, 1);
            dialog.OnCommand(kDeleteMacroId);
            EXPECT_EQ(MacroList(dialog).count(), 2) << c.name << ": No keeps it";
            dialog.OnCommand(kDeleteMacroId);
            EXPECT_EQ(MacroList(dialog).count(), 1) << c.name;
            dialog.OnCommand(skin::IDOK);
        });
        ASSERT_EQ(m_prompts.messageBoxes.size(), 2u) << c.name;
        EXPECT_EQ(m_prompts.messageBoxes[0].text, Text("MACRO_DELETE_CONFIRM_OF_KEYS"));
        EXPECT_EQ(m_prompts.messageBoxes[0].buttons, controls::PromptButtons::YesNo);
        EXPECT_EQ(m_prompts.messageBoxes[0].defaultButton, controls::PromptResult::No);
        EXPECT_EQ(SlotOf(c.profile, c.slot).type, model::kTypeDefault) << c.name;
        m_prompts.messageBoxes.clear();
        StoreMacros({{}, {}});
    }

    // A macro made in this opening, and one no key plays, go without a question.
    OnMacroPage([&](Tavrix_DlgComposite& dialog) {
        dialog.OnCommand(kAddMacroId);
        dialog.OnCommand(kDeleteMacroId);
        dialog.OnCommand(kDeleteMacroId);
        EXPECT_EQ(MacroList(dialog).count(), 1);
    });
    EXPECT_TRUE(m_prompts.messageBoxes.empty());
}

TEST_F(MacroPageTest, TypingNamesTheShownMacroOrCreatesTheFirst)
{
    OnMacroPage([&](Tavrix_DlgComposite& dialog) {
        QLineEdit& field = *MacroList(dialog).lineEdit();
        EXPECT_FALSE(Enabled(dialog, kRecordId)) << "no macro yet";
        QTest::keyClicks(&field, "Run");
        EXPECT_EQ(MacroList(dialog).count(), 1);
        EXPECT_TRUE(Enabled(dialog, kRecordId));
        QTest::keyClick(&field, Qt::Key_Left);
        QTest::keyClicks(&field, "x");
        EXPECT_EQ(field.text(), "Ruxn") << "the cursor stays where the user types";
        EXPECT_EQ(MacroList(dialog).count(), 1);
        EXPECT_EQ(MacroList(dialog).itemText(0), "Ruxn");
        dialog.OnCommand(skin::IDOK);
    });
    const std::vector<model::MacroRecord> stored = StoredMacros();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].Name(), u"Ruxn");
    EXPECT_EQ(stored[0].number, 1);
    EXPECT_EQ(stored[0].repeatCount, 1);
}

TEST_F(MacroPageTest, ActionButtonsDeleteClearAndMoveTheSelectedRow)
{
    const std::vector<MacroAction> actions{{10, kKeyA, kDown}, {20, kKeyB, kDown}, {30, kKeyH, kDown}};
    StoreMacros({actions});
    m_prompts.messageBoxAnswers = {controls::PromptResult::No, controls::PromptResult::Yes};
    OnMacroPage([&](Tavrix_DlgComposite& dialog) {
        ActionView& view = Actions(dialog);
        EXPECT_EQ(ActionRows(dialog), actions);
        dialog.OnCommand(kActionToTopId);
        EXPECT_EQ(ActionRows(dialog), actions) << "nothing selected, nothing moves";

        view.SelectRow(0);
        dialog.OnCommand(kActionToBottomId);
        EXPECT_EQ(view.SelectedRow(), 2);
        dialog.OnCommand(kActionUpId);
        EXPECT_EQ(ActionRows(dialog),
                  (std::vector<MacroAction>{{20, kKeyB, kDown}, {10, kKeyA, kDown}, {30, kKeyH, kDown}}));
        EXPECT_EQ(view.SelectedRow(), 1);
        dialog.OnCommand(kDeleteActionId);
        EXPECT_EQ(ActionRows(dialog), (std::vector<MacroAction>{{20, kKeyB, kDown}, {30, kKeyH, kDown}}));
        EXPECT_EQ(view.SelectedRow(), 1);

        dialog.OnCommand(kClearActionsId);
        EXPECT_EQ(ActionRows(dialog).size(), 2u) << "No keeps the rows";
        dialog.OnCommand(kClearActionsId);
        EXPECT_TRUE(ActionRows(dialog).empty());
        dialog.OnCommand(skin::IDOK);
    });
    ASSERT_EQ(m_prompts.messageBoxes.size(), 2u);
    EXPECT_EQ(m_prompts.messageBoxes[0].text, Text("MACRO_ACTION_CLEAR_CONFIRM"));
    EXPECT_EQ(m_prompts.messageBoxes[0].defaultButton, controls::PromptResult::No);
    EXPECT_EQ(StoredMacros()[0].actionCount, 0);
}

TEST_F(MacroPageTest, CellsAreEditedInPlace)
{
    StoreMacros({{{10, kKeyA, kDown}, {20, kKeyA, kUp}}});
    OnMacroPage([&](Tavrix_DlgComposite& dialog) {
        const struct {
            const char* typed;
            uint32_t stored;
        } delays[] = {{"12345", 12340}, {"0", 0}, {"", 0}, {"50000", 40000}};
        for (const auto& d : delays) {
            auto* edit = qobject_cast<QLineEdit*>(EditCell(dialog, 0, 2));
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->maxLength(), 100);
            edit->setText(d.typed);
            dialog.OnCommand(kCompositeApplyId);
            EXPECT_EQ(ActionRows(dialog)[0].delay, d.stored) << '"' << d.typed << '"';
        }
        EXPECT_EQ(MessageTexts().back(), Text("MACRO_ACTION_ERR_DELAY_MAX").replace("%d", "40000"));

        auto* key = qobject_cast<QComboBox*>(EditCell(dialog, 1, 0));
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->count(), 111);
        EXPECT_EQ(key->currentIndex(), 0) << "the row's key, A, is preselected";
        EXPECT_EQ(key->itemText(7), Text("IDS_KEYBOARD_H"));
        key->setCurrentIndex(7);
        key->hidePopup();
        testing::Pump();
        auto* direction = qobject_cast<QComboBox*>(EditCell(dialog, 1, 1));
        ASSERT_NE(direction, nullptr);
        EXPECT_EQ(direction->currentIndex(), 1);
        direction->setCurrentIndex(0);
        direction->hidePopup();
        testing::Pump();
        EXPECT_EQ(ActionRows(dialog)[1], (MacroAction{20, kKeyH, kDown}));
        EXPECT_EQ(Actions(dialog).model()->index(1, 1).data().toString(), QString::fromUtf8("\u2193"));
        dialog.OnCommand(skin::IDOK);
    });
    const model::MacroRecord stored = StoredMacros()[0];
    EXPECT_EQ(stored.actions[0], (MacroAction{40000, kKeyA, kDown}));
    EXPECT_EQ(stored.actions[1], (MacroAction{20, kKeyH, kDown}));
}

TEST_F(MacroPageTest, OpeningOnAMacroIsNoEditButChangingACellIs)
{
    StoreMacros({{{10, kKeyA, kDown}}});
    Edit(Profile(), model::KeyIndexOf(kKeyB), {model::kTypeMacro, 1, 1});
    WhileOpen([&] { Composite().OpenForKey(kKeyBId); },
              [&](Tavrix_DlgComposite& dialog) {
                  EXPECT_EQ(ActionRows(dialog).size(), 1u);
                  EXPECT_FALSE(Enabled(dialog, kCompositeApplyId));
                  auto* direction = qobject_cast<QComboBox*>(EditCell(dialog, 0, 1));
                  ASSERT_NE(direction, nullptr);
                  direction->hidePopup();
                  testing::Pump();
                  EXPECT_FALSE(Enabled(dialog, kCompositeApplyId)) << "the list closed without a choice";
                  direction = qobject_cast<QComboBox*>(EditCell(dialog, 0, 1));
                  ASSERT_NE(direction, nullptr);
                  direction->setCurrentIndex(1);
                  direction->hidePopup();
                  testing::Pump();
                  EXPECT_TRUE(Enabled(dialog, kCompositeApplyId));
              });
}

TEST_F(MacroPageTest, TheRepeatCountBoxHoldsItsNumberTo1To255)
{
    StoreMacros({{}, {}});
    OnMacroPage([&](Tavrix_DlgComposite& dialog) {
        const struct {
            const char* typed;
            const char* shown;
        } cases[] = {{"0", "1"}, {"300", "255"}, {"7", "7"}};
        for (const auto& c : cases) {
            RepeatCount(dialog).setText(c.typed);
            EXPECT_EQ(RepeatCount(dialog).text(), c.shown) << c.typed;
        }
        Choose(dialog, 1);
        EXPECT_EQ(RepeatCount(dialog).text(), "1");
        Choose(dialog, 0);
        EXPECT_EQ(RepeatCount(dialog).text(), "7") << "kept when another macro was shown";
        dialog.OnCommand(skin::IDCANCEL);
    });
}

// The setting is stored under its name in the language in use, so another language reads it as
// absent until the box is used again.
TEST_F(MacroPageTest, TheRecordDelaySettingLivesUnderItsNameInTheLanguage)
{
    StoreMacros({{}});
    const auto ticked = [&] {
        bool checked = true;
        OnMacroPage(
            [&](Tavrix_DlgComposite& dialog) { checked = dialog.GetDlgItem<QCheckBox>(kRecordDelayId)->isChecked(); });
        return checked;
    };
    const std::string englishName = skin::LoadLangText("MACRO_ACTION_RECORD_DELAY", 0);
    EXPECT_FALSE(ticked());
    EXPECT_EQ(platform::GetProfileString(kSection, englishName, "absent"), "0") << "written back at opening";
    OnMacroPage([&](Tavrix_DlgComposite& dialog) { dialog.GetDlgItem<QCheckBox>(kRecordDelayId)->click(); });
    EXPECT_EQ(platform::GetProfileString(kSection, englishName, "absent"), "1");
    EXPECT_TRUE(ticked());

    const std::optional<platform::RegistryKey> key = platform::RegistryKey::Create(platform::kProgramRegistryKey);
    ASSERT_TRUE(key && key->SetNumber(skin::kLanguageValueName, skin::kLanguageSimplifiedChinese));
    EXPECT_FALSE(ticked());
    EXPECT_EQ(platform::GetProfileString(kSection, skin::LoadLangText("MACRO_ACTION_RECORD_DELAY", 1), "absent"), "0");
    ASSERT_TRUE(key->SetNumber(skin::kLanguageValueName, skin::kLanguageEnglish));
    EXPECT_TRUE(ticked());
}

TEST_F(MacroPageTest, RecordingStopsOnEveryWayOffThePage)
{
    StoreMacros({{}});
    const struct {
        const char* name;
        std::function<void(Tavrix_DlgComposite&)> leave;
    } cases[] = {
        {"the record button", [](Tavrix_DlgComposite& d) { d.OnCommand(kRecordId); }},
        {"the media page", [](Tavrix_DlgComposite& d) { d.OnCommand(kMediaPageId); }},
        {"the key page", [](Tavrix_DlgComposite& d) { d.OnCommand(kKeyPageId); }},
        {"Apply", [](Tavrix_DlgComposite& d) { d.OnCommand(kCompositeApplyId); }},
        {"a delay cell's edit", [](Tavrix_DlgComposite& d) { EditCell(d, 0, 2); }},
        {"Cancel", [](Tavrix_DlgComposite& d) { d.OnCommand(skin::IDCANCEL); }},
    };
    for (const auto& c : cases) {
        StoreMacros({{{0, kKeyA, kDown}}});
        OnMacroPage([&](Tavrix_DlgComposite& dialog) {
            auto& record = dynamic_cast<controls::CPngButton&>(testing::Control(dialog, kRecordId));
            dialog.OnCommand(kRecordId);
            ASSERT_TRUE(dialog.IsRecording()) << c.name;
            EXPECT_EQ(record.text(), Text("MACRO_ACTION_STOP_RECORD"));
            EXPECT_TRUE(record.IsSelected());
            for (int id : {kAddMacroId, kDeleteMacroId, kMacroListId}) {
                EXPECT_FALSE(Enabled(dialog, id)) << c.name << " " << id;
            }
            QKeyEvent help(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
            QApplication::sendEvent(&dialog, &help);
            EXPECT_TRUE(m_opened.empty()) << "no help while recording";

            c.leave(dialog);
            EXPECT_FALSE(dialog.IsRecording()) << c.name;
            if (dialog.IsOpen()) {
                EXPECT_EQ(record.text(), Text("MACRO_ACTION_RECORD")) << c.name;
                EXPECT_FALSE(record.IsSelected()) << c.name;
                EXPECT_TRUE(Enabled(dialog, kAddMacroId)) << c.name;
            }
        });
    }
}

// Adding, deleting, renaming and editing, then Cancel: the store and every key slot are as they
// were.
TEST_F(MacroPageTest, CancelDropsEveryEdit)
{
    StoreMacros({{{10, kKeyA, kDown}}, {}});
    Edit(Profile(), model::KeyIndexOf(kKeyA), {model::kTypeMacro, 1, 2});
    Dlg().SetApplyEnabled(false);
    const std::vector<uint8_t> image = ModelBytes();
    const std::vector<model::MacroRecord> macros = StoredMacros();
    m_prompts.messageBoxAnswers = {controls::PromptResult::Yes};
    OnMacroPage([&](Tavrix_DlgComposite& dialog) {
        QTest::keyClicks(MacroList(dialog).lineEdit(), "renamed");
        Actions(dialog).SelectRow(0);
        dialog.OnCommand(kDeleteActionId);
        Choose(dialog, 1);
        dialog.OnCommand(kDeleteMacroId);
        dialog.OnCommand(kAddMacroId);
        RepeatCount(dialog).setText("9");
        dialog.OnCommand(skin::IDCANCEL);
    });
    EXPECT_EQ(ModelBytes(), image);
    EXPECT_EQ(StoredMacros(), macros);
    EXPECT_FALSE(Dlg().IsApplyEnabled());
}

} // namespace
} // namespace tavrix::ui
