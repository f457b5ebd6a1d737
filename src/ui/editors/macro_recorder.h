#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "model/macro_record.h"
#include "ui/editors/key_capture.h"

// Which key and button events a macro recording takes as actions, and the pause measured before
// each. Free of Qt: the page feeds it the events with the time they arrived.
namespace tavrix::ui {

// The pause before the press the recorder adds to a key whose press the desktop may keep.
inline constexpr uint32_t kReleaseOnlyPressDelayMs = 2;

class MacroRecorder {
public:
    // Takes each recorded action, its delay the time since the action recorded before it.
    using Sink = std::function<void(const model::MacroAction& action)>;

    explicit MacroRecorder(Sink sink) : m_sink(std::move(sink)) {}

    // Whether a recording keeps the key's events from the program: every key but media keys and
    // Menu, which pass on unrecorded.
    [[nodiscard]] static bool Keeps(uint16_t code);

    // Starts measuring at now (milliseconds of a monotonic clock), with no key held.
    void Start(uint64_t now);

    // A key event that arrived at now; true when it is kept from the program. Key strokes are
    // recorded, the desktop's repeats are not. A key whose press the desktop may keep (Print
    // Screen, SysReq, KL, KR) is recorded as a press and a release when it is let go. A release
    // waits for the next event or Flush: on X11 the press that follows at its time makes it half
    // of a repeat, and neither is recorded.
    [[nodiscard]] bool OnKeyEvent(const KeyEvent& event, uint64_t now);
    // A left, right or middle button (369, 370, 371) went down or up at now.
    void OnButton(uint16_t code, bool press, uint64_t now);

    // Records the release that waits, if any.
    void Flush();
    [[nodiscard]] bool HasWaitingRelease() const { return m_waiting.has_value(); }

private:
    struct WaitingRelease {
        uint16_t code;
        uint64_t arrived;
    };

    void Record(uint16_t code, uint16_t direction, uint64_t now);

    Sink m_sink;
    KeyStrokes m_strokes;
    std::optional<WaitingRelease> m_waiting;
    uint64_t m_reference = 0;
};

} // namespace tavrix::ui
