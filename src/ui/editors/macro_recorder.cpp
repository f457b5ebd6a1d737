#include "ui/editors/macro_recorder.h"

#include <algorithm>
#include <limits>

#include "model/key_catalogue.h"

namespace tavrix::ui {

namespace {

constexpr uint16_t kMenu = 0x15D;

} // namespace

bool MacroRecorder::Keeps(uint16_t code)
{
    return code != model::kNoKey && code != kMenu && !IsMediaKey(code);
}

void MacroRecorder::Start(uint64_t now)
{
    m_reference = now;
    m_strokes.Reset();
    m_waiting.reset();
}

bool MacroRecorder::OnKeyEvent(const KeyEvent& event, uint64_t now)
{
    const uint16_t code = event.code;
    if (!Keeps(code)) {
        return false;
    }
    const Stroke stroke = m_strokes.Classify(event);
    if (stroke == Stroke::RepeatPair) {
        m_waiting.reset();
        return true;
    }
    Flush();
    switch (stroke) {
    case Stroke::Press:
        // A key the desktop may report by its release alone gets its press when it is let go,
        // so it has one however the desktop reports it.
        if (!model::IsReleaseOnlyKey(code)) {
            Record(code, model::kMacroPress, now);
        }
        break;
    case Stroke::Release:
    case Stroke::LoneRelease:
        m_waiting = WaitingRelease{code, now};
        break;
    case Stroke::Repeat:
    case Stroke::RepeatPair:
        break;
    }
    return true;
}

void MacroRecorder::OnButton(uint16_t code, bool press, uint64_t now)
{
    Flush();
    Record(code, press ? model::kMacroPress : model::kMacroRelease, now);
}

void MacroRecorder::Flush()
{
    if (m_waiting) {
        const WaitingRelease release = *m_waiting;
        m_waiting.reset();
        Record(release.code, model::kMacroRelease, release.arrived);
    }
}

void MacroRecorder::Record(uint16_t code, uint16_t direction, uint64_t now)
{
    if (model::IsReleaseOnlyKey(code)) {
        m_sink({kReleaseOnlyPressDelayMs, code, model::kMacroPress});
    }
    const uint64_t pause = std::min<uint64_t>(now - m_reference, std::numeric_limits<uint32_t>::max());
    m_sink({static_cast<uint32_t>(pause), code, direction});
    m_reference = now;
}

} // namespace tavrix::ui
