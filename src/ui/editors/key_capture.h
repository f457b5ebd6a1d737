#pragma once

#include <bitset>
#include <cstdint>

#include "model/key_code.h"

// Which key events the key page keeps from the rest of the program, and which of them it takes as
// the key to assign. Free of Qt: the dialog feeds it each key event's key code.
namespace tavrix::ui {

enum class CaptureVerdict {
    PassOn,  // the event goes on to the program as usual (no key of the catalogue, a media key)
    Consume, // no control of the program sees it
    Capture, // consumed, and the key is the new key
};

class KeyCapture {
public:
    // A press or release of the key with that code (0 for no key of the catalogue). autoRepeat as
    // the desktop marks it; a press of a key already held counts as a repeat too, whatever the
    // desktop says. In mouse mode only the Super and Menu keys are taken.
    [[nodiscard]] CaptureVerdict OnKeyEvent(uint16_t code, bool press, bool autoRepeat, bool keyboardMode);

    // Forgets which keys are held: the page starts capturing afresh.
    void Reset() { m_held.reset(); }

private:
    std::bitset<model::kKeyIndexCount> m_held;
};

// Whether the code is one of the 18 media keys, which keep working while the key page is shown.
[[nodiscard]] bool IsMediaKey(uint16_t code);

} // namespace tavrix::ui
