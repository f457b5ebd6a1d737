#include <vector>

#include <gtest/gtest.h>

#include "ui/editors/key_capture.h"

namespace tavrix::ui {
namespace {

constexpr uint16_t kKeyA = 0x01E;
constexpr uint16_t kKeyB = 0x030;
constexpr uint16_t kLeftCtrl = 0x01D;
constexpr uint16_t kTab = 0x00F;
constexpr uint16_t kPrintScreen = 0x137;
constexpr uint16_t kLeftSuper = 0x15B;
constexpr uint16_t kMenu = 0x15D;
constexpr uint16_t kMute = 0x120;

constexpr auto kPass = CaptureVerdict::PassOn;
constexpr auto kEat = CaptureVerdict::Consume;
constexpr auto kTake = CaptureVerdict::Capture;

struct Event {
    uint16_t code;
    bool press;
    bool autoRepeat;
    CaptureVerdict verdict;
    uint64_t time = 0;
};

struct Case {
    const char* name;
    bool keyboardMode;
    std::vector<Event> events;
};

TEST(KeyCapture, EventsAndWhatTheKeyPageDoesWithThem)
{
    const Case cases[] = {
        {"a key held down is taken once",
         true,
         {{kKeyB, true, false, kTake},
          {kKeyB, true, true, kEat},
          {kKeyB, true, true, kEat},
          {kKeyB, false, false, kEat}}},
        {"a desktop that marks no repeat: a held key's presses are still one",
         true,
         {{kKeyB, true, false, kTake}, {kKeyB, true, false, kEat}, {kKeyB, false, false, kEat}}},
        {"a repeat's release lets nothing go",
         true,
         {{kKeyB, true, false, kTake}, {kKeyB, false, true, kEat}, {kKeyB, true, true, kEat}}},
        {"X11's unmarked repeats: a release and a press at one time",
         true,
         {{kKeyB, true, false, kTake, 100},
          {kKeyB, false, false, kEat, 760},
          {kKeyB, true, false, kEat, 760},
          {kKeyB, false, false, kEat, 800},
          {kKeyB, true, false, kEat, 800},
          {kKeyB, false, false, kEat, 815},
          {kKeyB, true, false, kTake, 900}}},
        {"without times a press after its release is fresh",
         true,
         {{kKeyB, true, false, kTake}, {kKeyB, false, false, kEat}, {kKeyB, true, false, kTake}}},
        {"Ctrl, then A with Ctrl held: each fresh press is taken",
         true,
         {{kLeftCtrl, true, false, kTake},
          {kKeyA, true, false, kTake},
          {kKeyA, false, false, kEat},
          {kLeftCtrl, false, false, kEat}}},
        {"Tab is kept from the controls", true, {{kTab, true, false, kTake}, {kTab, false, false, kEat}}},
        {"Print Screen reported as press and release is taken once",
         true,
         {{kPrintScreen, true, false, kTake}, {kPrintScreen, false, false, kEat}}},
        {"Print Screen reported by its release alone", true, {{kPrintScreen, false, false, kTake}}},
        {"a media key passes and keeps working", true, {{kMute, true, false, kPass}, {kMute, false, false, kPass}}},
        {"a key of no catalogue passes", true, {{0, true, false, kPass}}},
        {"mouse mode keeps ordinary keys from the controls without taking them",
         false,
         {{kKeyA, true, false, kEat}, {kKeyA, false, false, kEat}, {kPrintScreen, false, false, kEat}}},
        {"mouse mode still takes Super and Menu",
         false,
         {{kLeftSuper, true, false, kTake}, {kLeftSuper, false, false, kEat}, {kMenu, false, false, kTake}}},
        {"a key pressed before the page opened is not taken on its release", true, {{kKeyA, false, false, kEat}}},
    };
    for (const Case& c : cases) {
        KeyCapture capture;
        for (size_t i = 0; i < c.events.size(); ++i) {
            const Event& e = c.events[i];
            EXPECT_EQ(capture.OnKeyEvent({e.code, e.press, e.autoRepeat, e.time}, c.keyboardMode), e.verdict)
                << c.name << ", event " << i;
        }
    }
}

TEST(KeyCapture, ResetForgetsTheHeldKeys)
{
    KeyCapture capture;
    EXPECT_EQ(capture.OnKeyEvent({kKeyB, true, false, 5}, true), kTake);
    capture.Reset();
    EXPECT_EQ(capture.OnKeyEvent({kKeyB, true, false, 5}, true), kTake);
}

TEST(KeyCapture, TheEighteenMediaKeys)
{
    const uint16_t media[] = {0x16D, 0x122, 0x124, 0x110, 0x119, 0x12E, 0x130, 0x120, 0x132,
                              0x167, 0x168, 0x16A, 0x169, 0x166, 0x165, 0x16B, 0x121, 0x16C};
    for (uint16_t code : media) {
        EXPECT_TRUE(IsMediaKey(code)) << std::hex << code;
    }
    EXPECT_FALSE(IsMediaKey(kKeyA));
    EXPECT_FALSE(IsMediaKey(0x15E)) << "Power is no media key";
}

} // namespace
} // namespace tavrix::ui
