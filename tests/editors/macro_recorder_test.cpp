#include <vector>

#include <gtest/gtest.h>

#include "ui/editors/action_list.h"
#include "ui/editors/macro_recorder.h"

// Recording into the action list: which key and button events become rows, and their delays.
namespace tavrix::ui {
namespace {

using model::MacroAction;

constexpr uint16_t kKeyA = 0x01E;
constexpr uint16_t kKeyB = 0x030;
constexpr uint16_t kKeyH = 0x023;
constexpr uint16_t kPrintScreen = 0x137;
constexpr uint16_t kSysReq = 0x054;
constexpr uint16_t kLeftSuper = 0x15B;
constexpr uint16_t kMenu = 0x15D;
constexpr uint16_t kMute = 0x120;
constexpr uint16_t kLeftButton = 0x171;
constexpr uint16_t kDown = model::kMacroPress;
constexpr uint16_t kUp = model::kMacroRelease;

// One event: a key (button false) with the desktop's marks, or a mouse button; at is when it
// arrived, time the desktop's stamp.
struct Event {
    uint16_t code;
    bool press;
    uint64_t at;
    bool autoRepeat = false;
    uint64_t time = 0;
    bool button = false;
};

struct Recording {
    std::vector<MacroAction> rows;
    std::vector<bool> kept;
};

// Starts at time 0 and records the events into an empty list; the recording stops at the end.
Recording Record(const std::vector<Event>& events, bool keepDelays)
{
    ActionList list;
    int selected = -1;
    MacroRecorder recorder(
        [&](const MacroAction& action) { selected = list.AddRecorded(action, keepDelays, selected); });
    Recording result;
    recorder.Start(0);
    for (const Event& e : events) {
        if (e.button) {
            recorder.OnButton(e.code, e.press, e.at);
        } else {
            result.kept.push_back(recorder.OnKeyEvent({e.code, e.press, e.autoRepeat, e.time}, e.at));
        }
    }
    recorder.Flush();
    result.rows = list.Rows();
    return result;
}

TEST(MacroRecorder, RowsAndDelaysOfRecordings)
{
    const struct {
        const char* name;
        bool keepDelays;
        std::vector<Event> events;
        std::vector<MacroAction> rows;
    } cases[] = {
        {"300 ms apart, delays kept",
         true,
         {{kKeyA, true, 100}, {kKeyA, false, 400}},
         {{300, kKeyA, kDown}, {0, kKeyA, kUp}}},
        {"300 ms apart, fixed delays",
         false,
         {{kKeyA, true, 100}, {kKeyA, false, 400}},
         {{50, kKeyA, kDown}, {0, kKeyA, kUp}}},
        {"a held key: its marked repeats and presses are no strokes",
         true,
         {{kKeyB, true, 0},
          {kKeyB, true, 500, true},
          {kKeyB, false, 530, true},
          {kKeyB, true, 530, true},
          {kKeyB, true, 560},
          {kKeyB, false, 900}},
         {{900, kKeyB, kDown}, {0, kKeyB, kUp}}},
        {"X11's unmarked repeats: a release and a press at one time",
         true,
         {{kKeyB, true, 0, false, 1000},
          {kKeyB, false, 660, false, 1660},
          {kKeyB, true, 661, false, 1660},
          {kKeyB, false, 700, false, 1700},
          {kKeyB, true, 700, false, 1700},
          {kKeyB, false, 800, false, 1800}},
         {{800, kKeyB, kDown}, {0, kKeyB, kUp}}},
        {"a release waits, then goes in at the time it came",
         true,
         {{kKeyA, true, 0, false, 10}, {kKeyA, false, 50, false, 60}, {kKeyB, true, 80, false, 90}},
         {{50, kKeyA, kDown}, {30, kKeyA, kUp}, {0, kKeyB, kDown}}},
        {"Print Screen reported whole: one press, added with 2 ms as it goes up",
         true,
         {{kPrintScreen, true, 100}, {kPrintScreen, false, 300}},
         {{300, kPrintScreen, kDown}, {0, kPrintScreen, kUp}}},
        {"Print Screen reported by its release alone",
         true,
         {{kKeyH, true, 0}, {kPrintScreen, false, 300}},
         {{2, kKeyH, kDown}, {300, kPrintScreen, kDown}, {0, kPrintScreen, kUp}}},
        {"SysReq held on X11",
         false,
         {{kSysReq, true, 0, false, 5},
          {kSysReq, false, 600, false, 605},
          {kSysReq, true, 600, false, 605},
          {kSysReq, false, 700, false, 705}},
         {{50, kSysReq, kDown}, {0, kSysReq, kUp}}},
        {"media keys and Menu are not recorded, Super is",
         true,
         {{kMute, true, 10},
          {kMute, false, 20},
          {kMenu, true, 30},
          {kMenu, false, 40},
          {kLeftSuper, true, 50},
          {kLeftSuper, false, 80},
          {0, true, 90}},
         {{30, kLeftSuper, kDown}, {0, kLeftSuper, kUp}}},
        {"buttons, and a double click's second press left out by the caller",
         true,
         {{kKeyA, true, 0},
          {kLeftButton, true, 100, false, 0, true},
          {kKeyA, false, 150},
          {kLeftButton, false, 200, false, 0, true},
          {kLeftButton, false, 260, false, 0, true}},
         {{100, kKeyA, kDown},
          {50, kLeftButton, kDown},
          {50, kKeyA, kUp},
          {60, kLeftButton, kUp},
          {0, kLeftButton, kUp}}},
        {"a key down before the start is recorded as it goes up", true, {{kKeyA, false, 70}}, {{0, kKeyA, kUp}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Record(c.events, c.keepDelays).rows, c.rows) << c.name;
    }
}

TEST(MacroRecorder, MediaKeysAndMenuPassOnEverythingElseIsKept)
{
    const Recording recording = Record({{kMute, true, 0},
                                        {kMenu, true, 0},
                                        {0, true, 0},
                                        {kKeyA, true, 0},
                                        {kKeyA, true, 0, true},
                                        {kKeyA, false, 0},
                                        {kLeftSuper, true, 0}},
                                       true);
    EXPECT_EQ(recording.kept, (std::vector<bool>{false, false, false, true, true, true, true}));
}

TEST(MacroRecorder, StartingAgainForgetsHeldKeysAndMeasuresFromThen)
{
    std::vector<MacroAction> recorded;
    MacroRecorder recorder([&](const MacroAction& action) { recorded.push_back(action); });
    recorder.Start(0);
    (void)recorder.OnKeyEvent({kKeyA, true, false, 0}, 10);
    recorder.Start(1000);
    (void)recorder.OnKeyEvent({kKeyA, true, false, 0}, 1040);
    EXPECT_EQ(recorded, (std::vector<MacroAction>{{10, kKeyA, kDown}, {40, kKeyA, kDown}}));
}

} // namespace
} // namespace tavrix::ui
