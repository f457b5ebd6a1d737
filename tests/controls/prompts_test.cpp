#include <QApplication>
#include <QStyle>

#include <gtest/gtest.h>

#include "controls/prompts.h"
#include "controls/skin_look.h"
#include "scripted_prompts.h"
#include "ui_testing.h"

namespace tavrix::controls {
namespace {

TEST(PromptsTest, FilterPatternsBecomeNameFilters)
{
    const struct {
        QString pattern;
        QStringList expected;
    } cases[] = {
        {"(*.fwc)|*.fwc|(*.*)|*.*||", {"(*.fwc)", "(*.*)"}},
        {"MyType Files (*.exe)|*.exe||", {"MyType Files (*.exe)"}},
        {"Pictures|*.png;*.jpg||", {"Pictures(*.png *.jpg)"}},
        {"", {}},
        {"Unterminated (*.a)", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameFiltersFromPattern(c.pattern), c.expected) << c.pattern.toStdString();
    }
}

TEST(PromptsTest, DefaultExtensionIsAddedOnlyToANameWithout)
{
    const struct {
        QString path;
        QString expected;
    } cases[] = {
        {"/home/u/backup", "/home/u/backup.fwc"},
        {"/home/u/backup.fwc", "/home/u/backup.fwc"},
        {"/home/u/backup.txt", "/home/u/backup.txt"},
        {"/home/u.d/backup", "/home/u.d/backup.fwc"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithDefaultExtension(c.path, "fwc"), c.expected) << c.path.toStdString();
    }
}

TEST(PromptsTest, ScriptedPromptsAnswerInOrderThenWithTheDefault)
{
    testing::ScriptedPrompts prompts;
    prompts.messageBoxAnswers = {PromptResult::Yes};
    const MessageBoxRequest request{"Delete?", "", PromptButtons::YesNo, PromptResult::No};
    EXPECT_EQ(ActivePrompts().MessageBox(nullptr, request), PromptResult::Yes);
    EXPECT_EQ(ActivePrompts().MessageBox(nullptr, request), PromptResult::No);
    EXPECT_EQ(prompts.messageBoxes.size(), 2u);
    EXPECT_FALSE(ActivePrompts().SaveFileName(nullptr, {}).has_value());
    EXPECT_EQ(ActivePrompts().PopupMenu(nullptr, {}, {{32771, "Open"}}), 0);
}

} // namespace
} // namespace tavrix::controls

namespace tavrix::controls {
namespace {

class SkinLookTest : public testing::UiTest {};

TEST_F(SkinLookTest, StockDialogsTakeTheDarkColoursAndTheAccent)
{
    const QPalette before = QApplication::palette();
    const QString styleBefore = QApplication::style()->name();
    ApplySkinLook();
    const QPalette palette = QApplication::palette();
    EXPECT_EQ(QApplication::style()->name().toLower(), "fusion");
    EXPECT_LT(palette.color(QPalette::Window).lightness(), 64);
    EXPECT_LT(palette.color(QPalette::Base).lightness(), 64);
    EXPECT_GT(palette.color(QPalette::WindowText).lightness(), 192);
    EXPECT_GT(palette.color(QPalette::Text).lightness(), 192);
    EXPECT_EQ(palette.color(QPalette::Highlight), QColor(255, 130, 0));
    EXPECT_NE(palette.color(QPalette::Disabled, QPalette::Text), palette.color(QPalette::Text));
    QApplication::setStyle(styleBefore);
    QApplication::setPalette(before);
}

} // namespace
} // namespace tavrix::controls
