#include "ui/editors/key_capture.h"

#include <algorithm>
#include <array>

#include "model/media_keys.h"

namespace tavrix::ui {

namespace {

constexpr uint16_t kPrintScreen = 0x137;
constexpr std::array<uint16_t, 3> kSuperAndMenu{0x15B, 0x15C, 0x15D};

bool IsSuperOrMenu(uint16_t code)
{
    return std::find(kSuperAndMenu.begin(), kSuperAndMenu.end(), code) != kSuperAndMenu.end();
}

// Keys a desktop may report by their release alone: a screenshot tool keeps Print Screen's press,
// a desktop shell the press of Super.
bool MayArriveAsReleaseOnly(uint16_t code)
{
    return code == kPrintScreen || IsSuperOrMenu(code);
}

} // namespace

bool IsMediaKey(uint16_t code)
{
    return std::any_of(model::MediaList.begin(), model::MediaList.end(),
                       [code](const model::MediaKey& key) { return key.code == code; });
}

Stroke KeyStrokes::Classify(const KeyEvent& event)
{
    const size_t index = model::KeyIndexOf(event.code);
    if (event.autoRepeat) {
        // A marked repeat's release says nothing about the key being let go.
        if (event.press) {
            m_held[index] = true;
        }
        return Stroke::Repeat;
    }
    const bool wasHeld = m_held[index];
    m_held[index] = event.press;
    if (!event.press) {
        m_lastRelease = Release{event.code, event.time};
        return wasHeld ? Stroke::Release : Stroke::LoneRelease;
    }
    if (event.time != 0 && m_lastRelease && m_lastRelease->code == event.code && m_lastRelease->time == event.time) {
        return Stroke::RepeatPair;
    }
    return wasHeld ? Stroke::Repeat : Stroke::Press;
}

void KeyStrokes::Reset()
{
    m_held.reset();
    m_lastRelease.reset();
}

CaptureVerdict KeyCapture::OnKeyEvent(const KeyEvent& event, bool keyboardMode)
{
    const uint16_t code = event.code;
    if (code == model::kNoKey || IsMediaKey(code)) {
        return CaptureVerdict::PassOn;
    }
    const Stroke stroke = m_strokes.Classify(event);
    const bool fresh = stroke == Stroke::Press || (stroke == Stroke::LoneRelease && MayArriveAsReleaseOnly(code));
    const bool taken = keyboardMode || IsSuperOrMenu(code);
    return fresh && taken ? CaptureVerdict::Capture : CaptureVerdict::Consume;
}

} // namespace tavrix::ui
