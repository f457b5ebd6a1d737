#include "ui/editors/key_capture_filter.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include "model/linux_input_keys.h"

namespace tavrix::ui {

std::optional<KeyEvent> NativeKeyOf(const QEvent& event)
{
    if (event.type() != QEvent::KeyPress && event.type() != QEvent::KeyRelease) {
        return std::nullopt;
    }
    const auto& key = static_cast<const QKeyEvent&>(event);
    return KeyEvent{model::KeyFromNativeScanCode(key.nativeScanCode()), event.type() == QEvent::KeyPress,
                    key.isAutoRepeat(), key.timestamp()};
}

KeyCaptureFilter::KeyCaptureFilter(ModeQuery isKeyboardMode, CaptureHandler onCapture)
    : m_isKeyboardMode(std::move(isKeyboardMode)), m_onCapture(std::move(onCapture))
{
}

KeyCaptureFilter::~KeyCaptureFilter()
{
    Stop();
}

void KeyCaptureFilter::Start()
{
    m_capture.Reset();
    if (m_started) {
        return;
    }
    QCoreApplication::instance()->installEventFilter(this);
    m_started = true;
}

void KeyCaptureFilter::Stop()
{
    if (!m_started) {
        return;
    }
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->removeEventFilter(this);
    }
    m_started = false;
}

bool KeyCaptureFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // Claimed, so no shortcut of any window acts on the key; the key event itself follows.
        const auto& key = static_cast<const QKeyEvent&>(*event);
        const uint16_t code = model::KeyFromNativeScanCode(key.nativeScanCode());
        if (code == model::kNoKey || IsMediaKey(code)) {
            return QObject::eventFilter(watched, event);
        }
        event->accept();
        return true;
    }
    const std::optional<KeyEvent> key = NativeKeyOf(*event);
    if (!key) {
        return QObject::eventFilter(watched, event);
    }
    switch (m_capture.OnKeyEvent(*key, m_isKeyboardMode())) {
    case CaptureVerdict::PassOn:
        return QObject::eventFilter(watched, event);
    case CaptureVerdict::Capture:
        m_onCapture(key->code);
        return true;
    case CaptureVerdict::Consume:
        return true;
    }
    return true;
}

} // namespace tavrix::ui
