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

CaptureVerdict KeyCapture::OnKeyEvent(const KeyEvent& event, bool keyboardMode)
{
    const uint16_t code = event.code;
    if (code == model::kNoKey || IsMediaKey(code)) {
        return CaptureVerdict::PassOn;
    }
    // A repeat's release (where the desktop marks one) says nothing about the key being let go.
    if (!event.press && event.autoRepeat) {
        return CaptureVerdict::Consume;
    }
    const size_t index = model::KeyIndexOf(code);
    const bool wasHeld = m_held[index];
    m_held[index] = event.press;
    bool fresh = false;
    if (event.press) {
        const bool repeatPair =
            event.time != 0 && m_lastRelease && m_lastRelease->code == code && m_lastRelease->time == event.time;
        fresh = !event.autoRepeat && !wasHeld && !repeatPair;
    } else {
        m_lastRelease = Release{code, event.time};
        fresh = !wasHeld && MayArriveAsReleaseOnly(code);
    }
    const bool taken = keyboardMode || IsSuperOrMenu(code);
    return fresh && taken ? CaptureVerdict::Capture : CaptureVerdict::Consume;
}

void KeyCapture::Reset()
{
    m_held.reset();
    m_lastRelease.reset();
}

} // namespace tavrix::ui
