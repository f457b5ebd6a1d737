#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>

#include "ui/editors/key_capture.h"

class QEvent;

namespace tavrix::ui {

// The key event an event is, read from its native scan code; nothing for events that are not key
// presses or releases.
[[nodiscard]] std::optional<KeyEvent> NativeKeyOf(const QEvent& event);

// While started, an application-wide event filter that keeps every key event but the media keys
// from the program's controls (Tab does not move the focus, Escape does not close a window) and
// reports each key the key page takes.
class KeyCaptureFilter : public QObject {
public:
    using CaptureHandler = std::function<void(uint16_t code)>;
    using ModeQuery = std::function<bool()>;

    // isKeyboardMode: whether the key page is in keyboard mode; onCapture: a key was taken.
    KeyCaptureFilter(ModeQuery isKeyboardMode, CaptureHandler onCapture);
    ~KeyCaptureFilter() override;

    // Starts filtering with no key held; starting again starts afresh.
    void Start();
    void Stop();
    [[nodiscard]] bool IsStarted() const { return m_started; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ModeQuery m_isKeyboardMode;
    CaptureHandler m_onCapture;
    KeyCapture m_capture;
    bool m_started = false;
};

} // namespace tavrix::ui
