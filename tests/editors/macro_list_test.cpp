#include <gtest/gtest.h>

#include "ui/editors/macro_list.h"

namespace tavrix::ui {
namespace {

model::MacroRecord Numbered(uint16_t number)
{
    model::MacroRecord record;
    record.number = number;
    return record;
}

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

} // namespace
} // namespace tavrix::ui
