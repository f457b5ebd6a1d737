#pragma once

#include <bitset>
#include <cstdint>
#include <optional>

#include "model/key_code.h"

// Which key events the key page keeps from the rest of the program, and which of them it takes as
// the key to assign; which key events are strokes of a key rather than the desktop's repeats (the
// macro recorder asks the same). Free of Qt: the dialog feeds it each key event's key code.
namespace tavrix::ui {

// A key event as the editors read it: the key from the event's native scan code through the
// program's own table (never from the key's symbol, so the layout does not matter).
struct KeyEvent {
    uint16_t code = 0; // 0 for no key of the catalogue
    bool press = false;
    bool autoRepeat = false; // as the desktop marks it
    uint64_t time = 0;       // the desktop's time of the event in milliseconds; 0 when unknown
};

// What a key event is to the editors.
enum class Stroke {
    Press,       // the key went down
    Release,     // the key went up after its press was seen
    LoneRelease, // the key went up but its press was not seen: the desktop kept it, or the key was
                 // down before
    Repeat,      // the desktop's key repeat: marked so, or a press of a key held down
    RepeatPair,  // a press at the time of its key's release just before: that release was the
                 // first half of a repeat
};

// Tells the strokes of keys from the desktop's repeats. X11 sends a held key's repeats as a
// release and a press with one time stamp and does not always mark them; other desktops send
// presses of the held key.
class KeyStrokes {
public:
    [[nodiscard]] Stroke Classify(const KeyEvent& event);
    // Forgets which keys are held.
    void Reset();

private:
    struct Release {
        uint16_t code;
        uint64_t time;
    };

    std::bitset<model::kKeyIndexCount> m_held;
    std::optional<Release> m_lastRelease;
};

enum class CaptureVerdict {
    PassOn,  // the event goes on to the program as usual (no key of the catalogue, a media key)
    Consume, // no control of the program sees it
    Capture, // consumed, and the key is the new key
};

class KeyCapture {
public:
    // In mouse mode only the Super and Menu keys are taken. A key is taken on its press, once
    // however long it is held; Print Screen, Super and Menu also on a release whose press the
    // desktop kept.
    [[nodiscard]] CaptureVerdict OnKeyEvent(const KeyEvent& event, bool keyboardMode);

    // Forgets which keys are held: the page starts capturing afresh.
    void Reset() { m_strokes.Reset(); }

private:
    KeyStrokes m_strokes;
};

// Whether the code is one of the 18 media keys, which keep working while the key page is shown.
[[nodiscard]] bool IsMediaKey(uint16_t code);

} // namespace tavrix::ui
