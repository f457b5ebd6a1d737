#include <vector>

#include <gtest/gtest.h>

#include "model/key_catalogue.h"
#include "ui/editors/action_list.h"

namespace tavrix::ui {
namespace {

using model::MacroAction;

constexpr uint16_t kKeyA = 0x01E;
constexpr uint16_t kKeyB = 0x030;
constexpr uint16_t kKeyC = 0x02E;
constexpr uint16_t kKeyH = 0x023;
constexpr uint16_t kRightShift = 0x036;
constexpr uint16_t kRightShiftE0 = 0x136;
constexpr uint16_t kDown = model::kMacroPress;
constexpr uint16_t kUp = model::kMacroRelease;

ActionList Rows(std::vector<MacroAction> actions)
{
    ActionList list;
    list.Load(actions);
    return list;
}

TEST(ActionList, LoadingKeepsDelaysAndReadsAnUnknownDirectionAsAPress)
{
    const ActionList list = Rows({{120, kKeyA, kDown}, {7, kKeyA, 5}});
    EXPECT_EQ(list.Rows(), (std::vector<MacroAction>{{120, kKeyA, kDown}, {7, kKeyA, kDown}}));

    const std::vector<MacroAction> many(model::kMaxMacroActions + 3, MacroAction{10, kKeyB, kUp});
    EXPECT_EQ(Rows(many).Count(), 2000) << "beyond 2000 actions are dropped";
}

// A row's delay is the pause before the next action: the row before a recorded one takes its
// delay, and the new row the delay that row had.
TEST(ActionList, RecordedActionsGoAfterTheSelectedRowAndShiftTheDelays)
{
    const struct {
        const char* name;
        std::vector<MacroAction> rows;
        int selected;
        MacroAction recorded;
        bool keepDelays;
        int at;
        std::vector<MacroAction> after;
    } cases[] = {
        {"the first row waits for nothing", {}, -1, {300, kKeyA, kDown}, true, 0, {{0, kKeyA, kDown}}},
        {"at the end", {{0, kKeyA, kDown}}, -1, {300, kKeyA, kUp}, true, 1, {{300, kKeyA, kDown}, {0, kKeyA, kUp}}},
        {"the fixed delay while the setting is off",
         {{0, kKeyA, kDown}},
         -1,
         {300, kKeyA, kUp},
         false,
         1,
         {{50, kKeyA, kDown}, {0, kKeyA, kUp}}},
        {"after the selected row, which passes its delay on",
         {{40, kKeyA, kDown}, {60, kKeyB, kDown}, {0, kKeyC, kDown}},
         0,
         {300, kKeyH, kDown},
         true,
         1,
         {{300, kKeyA, kDown}, {40, kKeyH, kDown}, {60, kKeyB, kDown}, {0, kKeyC, kDown}}},
        {"a selection beyond the rows counts as none",
         {{0, kKeyA, kDown}},
         4,
         {300, kKeyA, kUp},
         true,
         1,
         {{300, kKeyA, kDown}, {0, kKeyA, kUp}}},
    };
    for (const auto& c : cases) {
        ActionList list = Rows(c.rows);
        EXPECT_EQ(list.AddRecorded(c.recorded, c.keepDelays, c.selected), c.at) << c.name;
        EXPECT_EQ(list.Rows(), c.after) << c.name;
    }
}

TEST(ActionList, RecordingInsertsOneAfterAnotherBehindTheSelection)
{
    ActionList list = Rows({{0, kKeyA, kDown}, {0, kKeyA, kUp}});
    int selected = 0;
    for (uint16_t key : {kKeyB, kKeyC}) {
        selected = list.AddRecorded({100, key, kDown}, true, selected);
    }
    EXPECT_EQ(list.Rows(),
              (std::vector<MacroAction>{{100, kKeyA, kDown}, {100, kKeyB, kDown}, {0, kKeyC, kDown}, {0, kKeyA, kUp}}));
}

TEST(ActionList, The2001stRecordedActionIsDropped)
{
    ActionList list = Rows(std::vector<MacroAction>(model::kMaxMacroActions, MacroAction{10, kKeyA, kDown}));
    EXPECT_EQ(list.AddRecorded({10, kKeyB, kDown}, true, -1), -1);
    EXPECT_EQ(list.Count(), 2000);
    EXPECT_EQ(list.Rows().back(), (MacroAction{10, kKeyA, kDown}));
}

TEST(ActionList, RemovingSelectsTheNextRowOrTheOneBefore)
{
    const std::vector<MacroAction> rows{{10, kKeyA, kDown}, {20, kKeyB, kDown}, {30, kKeyC, kDown}};
    const struct {
        int row;
        int next;
        std::vector<MacroAction> after;
    } cases[] = {
        {0, 0, {{20, kKeyB, kDown}, {30, kKeyC, kDown}}},
        {1, 1, {{10, kKeyA, kDown}, {30, kKeyC, kDown}}},
        {2, 1, {{10, kKeyA, kDown}, {20, kKeyB, kDown}}},
    };
    for (const auto& c : cases) {
        ActionList list = Rows(rows);
        EXPECT_EQ(list.Remove(c.row), c.next) << c.row;
        EXPECT_EQ(list.Rows(), c.after) << c.row;
    }
    ActionList single = Rows({{10, kKeyA, kDown}});
    EXPECT_EQ(single.Remove(0), -1);
}

TEST(ActionList, MovesKeepTheDelayAndStopAtTheEnds)
{
    const std::vector<MacroAction> rows{{10, kKeyA, kDown}, {20, kKeyB, kDown}, {30, kKeyC, kDown}};
    const struct {
        int row;
        ActionMove move;
        int to;
        std::vector<uint16_t> keys;
    } cases[] = {
        {2, ActionMove::Top, 0, {kKeyC, kKeyA, kKeyB}},  {1, ActionMove::Up, 0, {kKeyB, kKeyA, kKeyC}},
        {0, ActionMove::Up, 0, {kKeyA, kKeyB, kKeyC}},   {1, ActionMove::Down, 2, {kKeyA, kKeyC, kKeyB}},
        {2, ActionMove::Down, 2, {kKeyA, kKeyB, kKeyC}}, {0, ActionMove::Bottom, 2, {kKeyB, kKeyC, kKeyA}},
    };
    for (const auto& c : cases) {
        ActionList list = Rows(rows);
        EXPECT_EQ(list.Move(c.row, c.move), c.to) << c.row;
        std::vector<uint16_t> keys;
        for (const MacroAction& action : list.Rows()) {
            keys.push_back(action.keyCode);
            EXPECT_EQ(action.delay, action.keyCode == kKeyA ? 10u : action.keyCode == kKeyB ? 20u : 30u);
        }
        EXPECT_EQ(keys, c.keys) << c.row;
    }
}

TEST(ActionList, KeysAndDirectionsChosenInPlace)
{
    ActionList list = Rows({{10, kRightShiftE0, kDown}});
    EXPECT_FALSE(list.SetKeyAtListPosition(0, model::ListPositionOf(kRightShift))) << "the same key, either code";
    EXPECT_EQ(list.Rows()[0].keyCode, kRightShiftE0);
    EXPECT_FALSE(list.SetKeyAtListPosition(0, model::kKeyListLength));
    EXPECT_TRUE(list.SetKeyAtListPosition(0, 7));
    EXPECT_EQ(list.Rows()[0].keyCode, kKeyH);

    EXPECT_FALSE(list.SetDirection(0, kDown));
    EXPECT_FALSE(list.SetDirection(0, 2));
    EXPECT_TRUE(list.SetDirection(0, kUp));
    EXPECT_EQ(list.Rows()[0], (MacroAction{10, kKeyH, kUp}));
}

TEST(ActionList, TypedDelays)
{
    const struct {
        const char* text;
        std::optional<TypedDelay> delay;
    } cases[] = {
        {"12345", TypedDelay{12340, false}},
        {"0", TypedDelay{0, false}},
        {"9", TypedDelay{0, false}},
        {"40000", TypedDelay{40000, false}},
        {"40001", TypedDelay{40000, true}},
        {"99999999999999999999", TypedDelay{40000, true}},
        {"", std::nullopt},
        {"12a", std::nullopt},
        {"-5", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DelayFromText(c.text), c.delay) << '"' << c.text << '"';
    }
}

} // namespace
} // namespace tavrix::ui
