#include "ui/editors/macro_record_filter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "model/linux_input_keys.h"
#include "platform/clock.h"
#include "ui/editors/key_capture_filter.h"

namespace tavrix::ui {

namespace {

// How long a release waits for the press that would make it half of an X11 repeat. Both come
// from the display together; the wait covers their delivery, well below a repeat's interval.
constexpr int kRepeatPairWaitMs = 10;

constexpr uint16_t kLeftButton = 0x171;
constexpr uint16_t kRightButton = 0x172;
constexpr uint16_t kMiddleButton = 0x173;

uint16_t ButtonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return kLeftButton;
    case Qt::RightButton:
        return kRightButton;
    case Qt::MiddleButton:
        return kMiddleButton;
    default:
        return model::kNoKey;
    }
}

} // namespace

MacroRecordFilter::MacroRecordFilter(MacroRecorder::Sink sink) : m_recorder(std::move(sink))
{
    m_flush.setSingleShot(true);
    m_flush.setInterval(kRepeatPairWaitMs);
    QObject::connect(&m_flush, &QTimer::timeout, this, [this] { m_recorder.Flush(); });
}

MacroRecordFilter::~MacroRecordFilter()
{
    if (m_started) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
}

void MacroRecordFilter::Start()
{
    if (m_started) {
        return;
    }
    m_recorder.Start(platform::TickCountMs());
    QCoreApplication::instance()->installEventFilter(this);
    m_started = true;
}

void MacroRecordFilter::Stop()
{
    if (!m_started) {
        return;
    }
    QCoreApplication::instance()->removeEventFilter(this);
    m_started = false;
    m_flush.stop();
    m_recorder.Flush();
}

bool MacroRecordFilter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride) {
        // Claimed for every key the recording keeps, so no shortcut acts on it.
        const uint16_t code = model::KeyFromNativeScanCode(static_cast<const QKeyEvent&>(*event).nativeScanCode());
        if (MacroRecorder::Keeps(code)) {
            event->accept();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
    if (const std::optional<KeyEvent> key = NativeKeyOf(*event)) {
        const bool kept = m_recorder.OnKeyEvent(*key, platform::TickCountMs());
        if (m_recorder.HasWaitingRelease()) {
            m_flush.start();
        }
        return kept || QObject::eventFilter(watched, event);
    }
    // A window sees each button event once; its widgets see it again on the way down.
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease) && watched->isWindowType()) {
        OnMouseButton(*event);
    }
    return QObject::eventFilter(watched, event);
}

void MacroRecordFilter::OnMouseButton(const QEvent& event)
{
    const auto& mouse = static_cast<const QMouseEvent&>(event);
    const uint16_t code = ButtonCode(mouse.button());
    const bool press = event.type() == QEvent::MouseButtonPress;
    // The second press of a double click stands for the double click itself, which is not
    // recorded: a double click gives a press, a release and a release.
    if (code == model::kNoKey || (press && mouse.flags().testFlag(Qt::MouseEventCreatedDoubleClick))) {
        return;
    }
    m_recorder.OnButton(code, press, platform::TickCountMs());
}

} // namespace tavrix::ui
