#pragma once

#include <bitset>
#include <cstdint>
#include <optional>

#include "model/key_code.h"

// Which key events the key page keeps from the rest of the program, and which of them it takes as
// the key to assign. Free of Qt: the dialog feeds it each key event's key code.
namespace tavrix::ui {

// A key event as the editors read it: the key from the event's native scan code through the
// program's own table (never from the key's symbol, so the layout does not matter).
struct KeyEvent {
    uint16_t code = 0; // 0 for no key of the catalogue
    bool press = false;
    bool autoRepeat = false; // as the desktop marks it
    uint64_t time = 0;       // the desktop's time of the event in milliseconds; 0 when unknown
};

enum class CaptureVerdict {
    PassOn,  // the event goes on to the program as usual (no key of the catalogue, a media key)
    Consume, // no control of the program sees it
    Capture, // consumed, and the key is the new key
};

class KeyCapture {
public:
    // In mouse mode only the Super and Menu keys are taken. A press counts as a repeat when the
    // desktop marks it so, when its key is held, or when it comes at the time of its key's
    // release just before: X11 sends a held key's repeats as such pairs and does not always
    // mark them.
    [[nodiscard]] CaptureVerdict OnKeyEvent(const KeyEvent& event, bool keyboardMode);

    // Forgets which keys are held: the page starts capturing afresh.
    void Reset();

private:
    struct Release {
        uint16_t code;
        uint64_t time;
    };

    std::bitset<model::kKeyIndexCount> m_held;
    std::optional<Release> m_lastRelease;
};

// Whether the code is one of the 18 media keys, which keep working while the key page is shown.
[[nodiscard]] bool IsMediaKey(uint16_t code);

} // namespace tavrix::ui
