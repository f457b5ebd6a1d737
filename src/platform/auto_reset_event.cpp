#include "platform/auto_reset_event.h"

#include "platform/clock.h"

namespace tavrix::platform {

void AutoResetEvent::Set()
{
    {
        std::lock_guard lock(m_mutex);
        m_signalled = true;
    }
    m_changed.notify_one();
}

void AutoResetEvent::Reset()
{
    std::lock_guard lock(m_mutex);
    m_signalled = false;
}

AutoResetEvent::WaitResult AutoResetEvent::Wait(uint32_t milliseconds)
{
    std::unique_lock lock(m_mutex);
    if (!m_changed.wait_for(lock, ScaledDuration(milliseconds), [this] { return m_signalled; })) {
        return WaitResult::TimedOut;
    }
    m_signalled = false;
    return WaitResult::Signalled;
}

}  // namespace tavrix::platform
