#include <functional>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "model/key_code.h"
#include "ui/editors/composite_state.h"

namespace tavrix::ui {
namespace {

using model::KeyAssignment;
using model::kTypeDefault;
using model::kTypeDefaultWithText;
using model::kTypeKey;
using model::kTypeMacro;
using model::kTypeMedia;

constexpr uint16_t kKeyA = 0x01E;
constexpr uint16_t kKeyB = 0x030;
constexpr uint16_t kLeftCtrl = 0x01D;
constexpr uint16_t kLeftSuper = 0x15B;
constexpr size_t kSlotA = model::KeyIndexOf(kKeyA);
constexpr size_t kSlotG1 = 256;
constexpr size_t kSlotG9 = 264;
constexpr size_t kSlotG9BankB = 273;

PageChoices WithMacros(uint16_t number, uint16_t repeatCount)
{
    PageChoices choices;
    choices.macroListEmpty = false;
    choices.macroNumber = number;
    choices.repeatCount = repeatCount;
    return choices;
}

// One opening of the dialog from what the slot holds, the user's steps, and what Apply writes.
struct Case {
    std::string name;
    size_t slot;
    bool macroOnly;
    KeyAssignment stored;
    std::function<void(CompositeState&)> steps;
    PageChoices choices;
    std::optional<SlotWrite> written;
};

TEST(CompositeState, ApplyWritesWhatThePageHolds)
{
    const PageChoices firstEntries{0, 0, 0};
    const Case cases[] = {
        {"a captured key",
         kSlotA,
         false,
         {},
         [](CompositeState& s) { s.Capture(kKeyB); },
         {},
         SlotWrite{kTypeKey, 0, kKeyB}},
        {"a key assigned to itself is its default, keeping the code",
         kSlotA,
         false,
         {kTypeKey, 0, kKeyB},
         [](CompositeState& s) { s.Capture(kKeyA); },
         {},
         SlotWrite{kTypeDefault, 0, kKeyA}},
        {"Clear empties the key page",
         kSlotA,
         false,
         {kTypeKey, 0, kKeyB},
         [](CompositeState& s) { s.Clear(); },
         {},
         SlotWrite{kTypeDefault, 0, 0}},
        {"Clear from the media page",
         kSlotA,
         false,
         {kTypeMedia, 0, 3},
         [](CompositeState& s) { s.Clear(); },
         {},
         SlotWrite{kTypeDefault, 0, 0}},
        {"every fresh press replaces the key: Ctrl then A",
         kSlotG1,
         false,
         {},
         [](CompositeState& s) {
             s.Capture(kLeftCtrl);
             s.Capture(kKeyA);
         },
         {},
         SlotWrite{kTypeKey, 0x0301, kKeyA}},
        {"mouse mode stores the chosen mouse entry",
         kSlotA,
         false,
         {},
         [](CompositeState& s) { s.SetMouseMode(true); },
         PageChoices{2},
         SlotWrite{kTypeKey, 0, 0x173}},
        {"Super in mouse mode shows, the mouse entry is stored",
         kSlotA,
         false,
         {},
         [](CompositeState& s) {
             s.SetMouseMode(true);
             s.Capture(kLeftSuper);
         },
         PageChoices{4},
         SlotWrite{kTypeKey, 0, 0x162}},
        {"mouse mode without an entry stores no mouse code",
         kSlotA,
         false,
         {},
         [](CompositeState& s) { s.SetMouseMode(true); },
         PageChoices{-1},
         SlotWrite{kTypeKey, 0, 0}},
        {"a stored mouse button opens in mouse mode",
         kSlotA,
         false,
         {kTypeKey, 0, 0x172},
         [](CompositeState&) {},
         PageChoices{1},
         SlotWrite{kTypeKey, 0, 0x172}},
        {"G9 edits macros only, with its repeat count",
         kSlotG9,
         true,
         {kTypeDefault, 0x0309, 0},
         [](CompositeState& s) { EXPECT_FALSE(s.ChoosePage(Page::Key)); },
         WithMacros(5, 3),
         SlotWrite{kTypeMacro, 3, 5}},
        {"G9 with no macros goes back to its default",
         kSlotG9BankB,
         true,
         {kTypeMacro, 2, 5},
         [](CompositeState&) {},
         {},
         SlotWrite{kTypeDefault, 0x1309, 0}},
        {"media and function pages store the chosen entry",
         kSlotA,
         false,
         {},
         [](CompositeState& s) { EXPECT_TRUE(s.ChoosePage(Page::Media)); },
         PageChoices{0, 17},
         SlotWrite{kTypeMedia, 0, 17}},
        {"a stored media index outside the list is kept",
         kSlotA,
         false,
         {kTypeMedia, 0, 40},
         [](CompositeState&) {},
         PageChoices{0, -1},
         SlotWrite{kTypeMedia, 0, 40}},
        {"a text's value is no key to capture",
         kSlotA,
         false,
         {kTypeDefaultWithText, 0, 0x1E},
         [](CompositeState& s) {
             s.ChoosePage(Page::Macro);
             s.ChoosePage(Page::Key);
         },
         firstEntries,
         SlotWrite{kTypeDefault, 0, 0}},
        {"a slot with a text is kept while untouched",
         kSlotA,
         false,
         {kTypeDefaultWithText, 0, 0x1E},
         [](CompositeState&) {},
         firstEntries,
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CompositeState state;
        state.Open(c.slot, c.macroOnly, c.stored);
        EXPECT_FALSE(state.IsChanged());
        c.steps(state);
        EXPECT_EQ(state.Commit(c.choices), c.written);
    }
}

TEST(CompositeState, ChangedFlagFollowsCapturesAndPagesButNotModesOrClear)
{
    CompositeState state;
    state.Open(kSlotA, false, {kTypeKey, 0, kKeyB});
    EXPECT_EQ(state.ShownKey(), kKeyB);
    state.SetMouseMode(true);
    EXPECT_FALSE(state.IsChanged()) << "a mode leaves Apply off";
    state.SetMouseMode(false);
    state.Clear();
    EXPECT_FALSE(state.IsChanged()) << "Clear leaves Apply off";
    state.Capture(kKeyA);
    EXPECT_TRUE(state.IsChanged());
    state.MarkUnchanged();
    EXPECT_FALSE(state.ChoosePage(Page::Key)) << "the key page is shown";
    EXPECT_TRUE(state.ChoosePage(Page::Function));
    EXPECT_TRUE(state.IsChanged());
    EXPECT_FALSE(state.ChoosePage(Page::Function));
}

TEST(CompositeState, AfterClearTheKeyPageWaitsAndComesBackWithTheLastKey)
{
    CompositeState state;
    state.Open(kSlotA, false, {});
    state.Capture(kKeyB);
    state.Clear();
    EXPECT_EQ(state.ShownKey(), 0u);
    EXPECT_EQ(state.Type(), kTypeDefault);
    EXPECT_FALSE(state.ChoosePage(Page::Key)) << "the key page button does nothing after Clear";
    ASSERT_TRUE(state.ChoosePage(Page::Media));
    ASSERT_TRUE(state.ChoosePage(Page::Key));
    EXPECT_EQ(state.ShownKey(), kKeyB);
    EXPECT_FALSE(state.IsMouseMode());
    EXPECT_EQ(state.Commit({}), (SlotWrite{kTypeKey, 0, kKeyB}));
}

TEST(CompositeState, MacroPageSelectsByTheStoredNumberOnceThenKeepsTheList)
{
    const struct {
        KeyAssignment stored;
        MacroSelection firstVisit;
    } cases[] = {
        {{kTypeKey, 0, 0}, MacroSelection::First},
        {{kTypeKey, 0, 0x10000}, MacroSelection::First},
        {{kTypeKey, 0, kKeyB}, MacroSelection::Keep},
    };
    for (const auto& c : cases) {
        CompositeState state;
        state.Open(kSlotA, false, c.stored);
        ASSERT_TRUE(state.ChoosePage(Page::Macro));
        EXPECT_EQ(state.MacroSelectionOnShow(false), c.firstVisit) << c.stored.value;
        EXPECT_EQ(state.MacroSelectionOnShow(false), MacroSelection::Keep) << c.stored.value;
    }
    CompositeState state;
    state.Open(kSlotA, false, {kTypeMacro, 1, 42});
    EXPECT_EQ(state.ShownPage(), Page::Macro);
    EXPECT_EQ(state.MacroSelectionOnShow(true), MacroSelection::StoredNumber);
}

TEST(CompositeState, GKeyCodesOfTheEighteenGKeySlots)
{
    EXPECT_EQ(GKeyCodeOfSlot(255), 0);
    EXPECT_EQ(GKeyCodeOfSlot(256), 0x0301);
    EXPECT_EQ(GKeyCodeOfSlot(264), 0x0309);
    EXPECT_EQ(GKeyCodeOfSlot(265), 0x1301);
    EXPECT_EQ(GKeyCodeOfSlot(273), 0x1309);
    EXPECT_EQ(GKeyCodeOfSlot(274), 0);
}

} // namespace
} // namespace tavrix::ui
