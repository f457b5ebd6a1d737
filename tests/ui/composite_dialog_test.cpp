#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <mutex>

#include "app/app_state.h"
#include "composite_fixture.h"
#include "model/key_code.h"
#include "model/key_names.h"
#include "model/media_keys.h"
#include "skin/language.h"
#include "ui/main_window/custom_messages.h"
#include "ui/main_window/key_layout.h"

// The key-assignment dialog in the main window, offscreen: what each page stores, the macro-only
// mode, closing from outside, and that it never talks to the keyboard itself. Key capture from real
// key events is tested on a real X server (key_capture_xvfb_test.cpp).
namespace tavrix::ui {
namespace {

using testing::CompositeTest;

constexpr uint16_t kKeyA = 0x01E;
constexpr int kKeyAId = 1058;
constexpr int kG3Id = 1002;
constexpr int kG9Id = 1143;
constexpr int kMacroButtonId = 1007;

class CompositeDialogTest : public CompositeTest {
protected:
    model::KeyAssignment SlotOfKey(size_t slot) { return SlotOf(Profile(), slot); }
    size_t GKeySlot(size_t position)
    {
        return model::GKeySlot(static_cast<model::GKeyBank>(Dlg().ActiveBank()), position);
    }
    QComboBox& ListOf(Tavrix_DlgComposite& dialog, int id) { return *dialog.GetDlgItem<QComboBox>(id); }
    void Choose(Tavrix_DlgComposite& dialog, int listId, int entry) { ListOf(dialog, listId).setCurrentIndex(entry); }
};

TEST_F(CompositeDialogTest, OpensOnlyForKeysAndGKeysAndMarksTheKeyWhileOpen)
{
    StartShown();
    EXPECT_EQ(Composite().OpenForKey(1005), -1) << "the profile button is no key";
    EXPECT_EQ(Composite().OpenForKey(1174), -1) << "nor is Fn";
    EXPECT_FALSE(Composite().isVisible());
    auto& key = dynamic_cast<controls::CPngButton&>(testing::Control(Dlg(), kKeyAId));
    int result = 0;
    WhileOpen([&] { result = Composite().OpenForKey(kKeyAId); },
              [&](Tavrix_DlgComposite& dialog) {
                  EXPECT_TRUE(dialog.isVisible());
                  EXPECT_TRUE(key.IsSelected());
                  EXPECT_EQ(dialog.State().ShownPage(), Page::Key);
                  EXPECT_TRUE(dialog.IsCapturing());
                  EXPECT_FALSE(testing::Control(dialog, kCompositeApplyId).isEnabled());
                  EXPECT_EQ(Dlg().SwitchProfile((Profile() + 1) % 3), 0) << "no profile switch while open";
                  dialog.OnCommand(skin::IDCANCEL);
              });
    EXPECT_EQ(result, skin::IDCANCEL);
    EXPECT_FALSE(key.IsSelected()) << "the unassigned key looks normal again";
    EXPECT_FALSE(Composite().IsCapturing());
    ASSERT_FALSE(MessageTexts().empty());
    EXPECT_EQ(MessageTexts().back(), Text("PROFILE_SEELCT_PROMPT2"));
}

// Each page's choice, stored by OK into the key's slot of the current profile; the keyboard gets
// it only from the main window's Apply.
TEST_F(CompositeDialogTest, OkStoresThePagesChoiceAndTheMainWindowSendsIt)
{
    StartShown();
    const struct {
        const char* page;
        int keyId;
        size_t slot;
        std::function<void(Tavrix_DlgComposite&)> choose;
        model::KeyAssignment stored;
        model::KeyEntry sent;
    } cases[] = {
        {"media",
         kKeyAId,
         model::KeyIndexOf(kKeyA),
         [&](Tavrix_DlgComposite& d) {
             d.OnCommand(kMediaPageId);
             Choose(d, kMediaListId, 7);
         },
         {model::kTypeMedia, 0, 7},
         {3, 0xE2, 0x00}},
        {"function",
         kKeyAId,
         model::KeyIndexOf(kKeyA),
         [&](Tavrix_DlgComposite& d) {
             d.OnCommand(kFunctionPageId);
             Choose(d, kFunctionListId, 10);
         },
         {model::kTypeFunction, 0, 10},
         {5, 5, 10}},
        {"mouse",
         kKeyAId,
         model::KeyIndexOf(kKeyA),
         [&](Tavrix_DlgComposite& d) {
             d.OnCommand(kMouseModeId);
             Choose(d, kMouseListId, 1);
             EXPECT_FALSE(testing::Control(d, kCompositeApplyId).isEnabled()) << "a mode and a mouse entry";
         },
         {model::kTypeKey, 0, 0x172},
         {1, 1, 0x02}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        const auto requests = Sim().CommandRequests().size();
        WhileOpen([&] { Composite().OpenForKey(c.keyId); },
                  [&](Tavrix_DlgComposite& dialog) {
                      c.choose(dialog);
                      dialog.OnCommand(skin::IDOK);
                  });
        EXPECT_EQ(SlotOfKey(c.slot), c.stored);
        EXPECT_EQ(Sim().CommandRequests().size(), requests) << "the dialog never talks to the keyboard";
        EXPECT_TRUE(Dlg().IsApplyEnabled());
        Dlg().ApplyChanges();
        EXPECT_EQ(KeyboardEntryOf(Profile(), kKeyA), c.sent);
    }
}

TEST_F(CompositeDialogTest, TheMacroButtonEditsMacrosOfG9Only)
{
    StartShown();
    SetMacros({4, 7});
    const size_t g9 = GKeySlot(8);
    WhileOpen([&] { Dlg().OnCommand(kMacroButtonId); },
              [&](Tavrix_DlgComposite& dialog) {
                  EXPECT_EQ(dialog.State().ShownPage(), Page::Macro);
                  for (int id : {kKeyPageId, kMediaPageId, kFunctionPageId, kClearId}) {
                      EXPECT_FALSE(testing::Control(dialog, id).isEnabled()) << id;
                  }
                  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
                  EXPECT_EQ(dialog.pos(), QPoint(screen.left() + (screen.width() - dialog.width()) / 2,
                                                 screen.top() + (screen.height() - dialog.height()) / 2));
                  auto& macros = ListOf(dialog, kMacroListId);
                  EXPECT_EQ(macros.count(), 2);
                  EXPECT_EQ(macros.currentIndex(), 0) << "G9 holds no macro yet: the first is shown";
                  macros.setCurrentIndex(1);
                  emit macros.activated(1);
                  dialog.GetDlgItem<QLineEdit>(kRepeatCountId)->setText(QStringLiteral("3"));
                  dialog.OnCommand(skin::IDOK);
              });
    EXPECT_EQ(SlotOfKey(g9), (model::KeyAssignment{model::kTypeMacro, 3, 7}));

    SetMacros({});
    WhileOpen([&] { Dlg().OnCommand(kMacroButtonId); },
              [&](Tavrix_DlgComposite& dialog) { dialog.OnCommand(skin::IDOK); });
    EXPECT_EQ(SlotOfKey(g9), (model::KeyAssignment{model::kTypeDefault, model::GKeyCode(model::GKeyBank::A, 8), 0}))
        << "with no macro G9 goes back to its default";
}

TEST_F(CompositeDialogTest, AMacroKeyWhoseMacroIsGoneOpensOnTheFirstMacro)
{
    StartShown();
    SetMacros({4, 7});
    for (const uint32_t number : {42u, 0u, 7u}) {
        Edit(Profile(), GKeySlot(2), {model::kTypeMacro, 2, number});
        WhileOpen([&] { Composite().OpenForKey(kG3Id); },
                  [&](Tavrix_DlgComposite& dialog) {
                      EXPECT_EQ(dialog.State().ShownPage(), Page::Macro);
                      EXPECT_EQ(ListOf(dialog, kMacroListId).currentIndex(), number == 7 ? 1 : 0) << number;
                      EXPECT_FALSE(testing::Control(dialog, kCompositeApplyId).isEnabled()) << number;
                  });
    }
}

// Cancel, UM_CLOSE_EDITORS and the exit all close the dialog as cancelled, without applying.
TEST_F(CompositeDialogTest, ClosingFromOutsideDropsTheEdits)
{
    StartShown();
    SetMacros({4});
    const std::vector<uint8_t> before = ModelBytes();
    const struct {
        const char* closer;
        std::function<void(Tavrix_DlgComposite&)> close;
    } cases[] = {
        {"Cancel", [](Tavrix_DlgComposite& d) { d.OnCommand(skin::IDCANCEL); }},
        {"UM_CLOSE_EDITORS", [&](Tavrix_DlgComposite&) { Dlg().OnMessage(UM_CLOSE_EDITORS, kCloseEditorsTag, 0); }},
        {"exit", [&](Tavrix_DlgComposite&) { Dlg().ExitRoutine(); }},
    };
    for (const auto& c : cases) {
        int result = 0;
        WhileOpen([&] { result = Composite().OpenForKey(kKeyAId); },
                  [&](Tavrix_DlgComposite& dialog) {
                      dialog.OnCommand(kMacroPageId);
                      dialog.GetDlgItem<QLineEdit>(kRepeatCountId)->setText(QStringLiteral("9"));
                      EXPECT_TRUE(testing::Control(dialog, kCompositeApplyId).isEnabled());
                      c.close(dialog);
                      EXPECT_FALSE(dialog.IsOpen()) << c.closer;
                  });
        EXPECT_EQ(result, skin::IDCANCEL) << c.closer;
        // The exit routine frees the model after closing the editors.
        if (std::string(c.closer) != "exit") {
            EXPECT_EQ(ModelBytes(), before) << c.closer;
        }
    }
}

TEST_F(CompositeDialogTest, OnScreenKeyboardStartsWhenInstalledAndOnlyThen)
{
    StartShown();
    const QString folder = QString::fromStdString(m_home / "bin");
    QDir().mkpath(folder);
    ScopedEnv path("PATH", folder.toStdString());
    WhileOpen([&] { Composite().OpenForKey(kKeyAId); },
              [&](Tavrix_DlgComposite& dialog) { dialog.OnCommand(kOnScreenKeyboardId); });
    EXPECT_TRUE(m_opened.empty()) << "no on-screen keyboard, nothing started";

    QFile program(folder + "/onboard");
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.close();
    program.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    WhileOpen([&] { Composite().OpenForKey(kKeyAId); },
              [&](Tavrix_DlgComposite& dialog) { dialog.OnCommand(kOnScreenKeyboardId); });
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_EQ(m_opened[0].target, (folder + "/onboard").toStdString()) << "the program itself, no shell";
    EXPECT_TRUE(m_opened[0].parameters.empty());
}

TEST_F(CompositeDialogTest, TextsFollowTheLanguageAndTheMode)
{
    StartShown();
    WhileOpen([&] { Composite().OpenForKey(kKeyAId); },
              [&](Tavrix_DlgComposite& dialog) {
                  EXPECT_EQ(dynamic_cast<QAbstractButton&>(testing::Control(dialog, kKeyPageId)).text(),
                            Text("SINGLE_KEY"));
                  EXPECT_EQ(dynamic_cast<QLabel&>(testing::Control(dialog, 1199)).text(), Text("KEY_SETTING_TISHI"));
                  EXPECT_EQ(ListOf(dialog, kMediaListId).itemText(7), Text(model::MediaList[7].nameKey.data()));
                  Dlg().OnMessage(UM_LANG, kLangTag, 1);
                  EXPECT_EQ(dynamic_cast<QAbstractButton&>(testing::Control(dialog, skin::IDOK)).text(),
                            QString::fromStdString(skin::LoadLangText("MACRO_OK", 1)));
              });
    WhileOpen([&] { Composite().OpenForKey(kG9Id); },
              [&](Tavrix_DlgComposite& dialog) {
                  EXPECT_TRUE(dynamic_cast<QAbstractButton&>(testing::Control(dialog, kKeyPageId)).text().isEmpty());
                  EXPECT_EQ(dynamic_cast<QLabel&>(testing::Control(dialog, 1199)).text(), Text("MACRO_EDIT_TISHI"));
              });
}

} // namespace
} // namespace tavrix::ui
