#include <mutex>

#include <gtest/gtest.h>

#include "model/model_editor.h"
#include "platform/clock.h"
#include "ui/editors/macro_list.h"

namespace tavrix::ui {
namespace {

model::MacroRecord Numbered(uint16_t number, std::u16string_view name = u"")
{
    model::MacroRecord record;
    record.number = number;
    record.SetName(name);
    return record;
}

// The 16 ms pauses between name tries run a hundred times faster.
class FastClock : public ::testing::Test {
protected:
    FastClock() { platform::SetTimeScale(0.01); }
    ~FastClock() override { platform::SetTimeScale(1.0); }
};

using MacroListNames = FastClock;

TEST(MacroList, TheMacroAKeyOpensOnIsItsOwnElseTheFirst)
{
    MacroList list;
    list.Load({Numbered(4), Numbered(9), Numbered(2)});
    EXPECT_EQ(list.Current(), -1);
    const struct {
        MacroSelection selection;
        uint32_t stored;
        int entry;
    } cases[] = {
        {MacroSelection::StoredNumber, 9, 1}, {MacroSelection::StoredNumber, 42, 0},
        {MacroSelection::StoredNumber, 0, 0}, {MacroSelection::First, 9, 0},
        {MacroSelection::Keep, 9, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(list.EntryFor(c.selection, c.stored), c.entry) << c.stored;
    }
    list.SetCurrent(2);
    EXPECT_EQ(list.EntryFor(MacroSelection::Keep, 9), 2);
    list.SetCurrent(3);
    EXPECT_EQ(list.CurrentMacro(), nullptr);

    MacroList empty;
    EXPECT_EQ(empty.EntryFor(MacroSelection::StoredNumber, 9), -1);
    EXPECT_EQ(empty.EntryFor(MacroSelection::First, 0), -1);
}

TEST_F(MacroListNames, NewNamesCountOnPastEveryNameTheyBegin)
{
    const struct {
        const char* name;
        std::vector<std::u16string> names;
        int addedBefore; // new names asked for before, with the list as it is
        std::u16string next;
    } cases[] = {
        {"an empty list starts at 1", {}, 0, u"Macro 1"},
        {"1 and 2 taken, counter at 0: 3", {u"Macro 1", u"Macro 2"}, 0, u"Macro 3"},
        {"counter at 1 and a macro named 10: 1 is a beginning, so 2", {u"Macro 10", u"Other"}, 0, u"Macro 2"},
        {"without regard to case", {u"MACRO 1"}, 0, u"Macro 2"},
        {"the counter goes on across new names", {u"Other"}, 2, u"Macro 3"},
    };
    for (const auto& c : cases) {
        MacroList list;
        std::vector<model::MacroRecord> records;
        for (const std::u16string& name : c.names) {
            records.push_back(Numbered(static_cast<uint16_t>(records.size() + 1), name));
        }
        list.Load(records);
        for (int i = 0; i < c.addedBefore; ++i) {
            (void)list.NextNewName(u"Macro ");
        }
        EXPECT_EQ(list.NextNewName(u"Macro "), c.next) << c.name;
    }
}

TEST_F(MacroListNames, TheCounterStartsAgainOnlyForAnEmptyList)
{
    MacroList list;
    list.Load({Numbered(1, u"Mine")});
    EXPECT_EQ(list.NextNewName(u"Macro "), u"Macro 1");
    list.Load({Numbered(1, u"Mine")});
    EXPECT_EQ(list.NextNewName(u"Macro "), u"Macro 2") << "kept across openings";
    list.Load({});
    EXPECT_EQ(list.NextNewName(u"Macro "), u"Macro 1");
}

TEST(MacroList, NewMacrosTakeTheLowestFreeNumberUpToAHundred)
{
    MacroList list;
    list.Load({Numbered(1), Numbered(2), Numbered(4)});
    ASSERT_EQ(list.AddNew(u"New"), 3);
    const model::MacroRecord& added = list.Records()[3];
    EXPECT_EQ(added.number, 3);
    EXPECT_EQ(added.repeatCount, 1);
    EXPECT_EQ(added.newFlag, 1);
    EXPECT_EQ(added.actionCount, 0);
    EXPECT_EQ(added.Name(), u"New");

    std::vector<model::MacroRecord> hundred;
    for (uint16_t number = 1; number <= 100; ++number) {
        hundred.push_back(Numbered(number));
    }
    list.Load(hundred);
    EXPECT_TRUE(list.Full());
    EXPECT_EQ(list.AddNew(u"101st"), -1);
    EXPECT_EQ(list.Records().size(), 100u);
}

TEST(MacroList, RemovingShowsTheEntryBeforeElseTheFirst)
{
    const struct {
        int removed;
        int shown;
    } cases[] = {{2, 1}, {0, 0}};
    for (const auto& c : cases) {
        MacroList list;
        list.Load({Numbered(1), Numbered(2), Numbered(3)});
        list.SetCurrent(c.removed);
        list.Remove(c.removed);
        EXPECT_EQ(list.Current(), c.shown) << c.removed;
        EXPECT_EQ(list.Records().size(), 2u);
    }
    MacroList single;
    single.Load({Numbered(1)});
    single.SetCurrent(0);
    single.Remove(0);
    EXPECT_EQ(single.Current(), -1);
}

TEST(MacroList, SavingKeepsTheShownRowsAndRepeatCountAndRenamingCutsTheName)
{
    MacroList list;
    list.Load({Numbered(1), Numbered(2)});
    list.SaveShown(9, std::vector<model::MacroAction>{{5, 0x1E, 0}});
    EXPECT_EQ(list.Records()[0].repeatCount, 1) << "no macro shown, nothing saved";

    list.SetCurrent(1);
    list.SaveShown(9, std::vector<model::MacroAction>(3, {20, 0x30, 0}));
    const std::vector<model::MacroAction> rows{{50, 0x1E, 0}, {0, 0x1E, 1}};
    list.SaveShown(9, rows);
    const model::MacroRecord& saved = list.Records()[1];
    EXPECT_EQ(saved.repeatCount, 9);
    EXPECT_TRUE(std::equal(rows.begin(), rows.end(), saved.UsedActions().begin(), saved.UsedActions().end()));
    EXPECT_EQ(saved.actions[2], model::MacroAction{}) << "a slot no row uses any more is cleared";

    list.Rename(1, std::u16string(300, u'x'));
    EXPECT_EQ(list.Records()[1].Name(), std::u16string(model::kMaxMacroNameLength, u'x'));
}

// A macro deleted and a new one added in the same opening: the new one takes the number, and the
// commit sends keys that played the deleted one back to their default.
TEST(MacroList, ANewMacroWithADeletedOnesNumberIsNotPlayedByItsKeys)
{
    model::ConfigModel model;
    std::recursive_mutex lock;
    model::ModelEditor editor(model, lock);
    ASSERT_TRUE(model.macros.Assign({Numbered(1), Numbered(2)}));
    model.image.blocks[1][0x1E] = {model::kTypeMacro, 1, 2};
    model.image.blocks[0][0x1F] = {model::kTypeMacro, 1, 1};

    MacroList list;
    list.Load(editor.CopyMacros());
    list.SetCurrent(1);
    EXPECT_TRUE(editor.IsMacroAssigned(2));
    list.Remove(1);
    ASSERT_EQ(list.AddNew(u"New"), 1);
    EXPECT_EQ(list.Records()[1].number, 2);

    ASSERT_EQ(editor.CommitMacros(list.Records()), 1);
    EXPECT_EQ(model.image.blocks[1][0x1E], (model::KeyAssignment{model::kTypeDefault, 1, 2}));
    EXPECT_EQ(model.image.blocks[0][0x1F], (model::KeyAssignment{model::kTypeMacro, 1, 1}));
    EXPECT_EQ(model.macros.Records()[1].newFlag, 0);
}

TEST(MacroList, RepeatCountFromTheBox)
{
    const struct {
        const char* text;
        uint8_t count;
    } cases[] = {{"7", 7}, {"0", 1}, {"300", 255}, {"99999999999999999999", 255},
                 {"", 4},  {"x", 4}, {"-3", 4},    {"3x", 4}};
    for (const auto& c : cases) {
        EXPECT_EQ(RepeatCountFromText(c.text, 4), c.count) << '"' << c.text << '"';
    }
}

TEST(MacroList, TheRepeatCountBoxShowsTheNearestCountForANumberOutOfRange)
{
    const struct {
        const char* text;
        std::optional<uint8_t> shown;
    } cases[] = {{"0", 1},
                 {"300", 255},
                 {"7", std::nullopt},
                 {"255", std::nullopt},
                 {"-3", 1},
                 {"99999999999999999999", 255},
                 {"", std::nullopt},
                 {"x", std::nullopt},
                 {"007", std::nullopt}};
    for (const auto& c : cases) {
        EXPECT_EQ(RepeatCountReplacement(c.text), c.shown) << '"' << c.text << '"';
    }
}

} // namespace
} // namespace tavrix::ui
