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
    const std::chrono::microseconds timeout = ScaledDuration(milliseconds);
    std::unique_lock lock(m_mutex);
    // A wait of no time only looks: the system would still put the thread to sleep for a while.
    const bool signalled =
        timeout.count() > 0 ? m_changed.wait_for(lock, timeout, [this] { return m_signalled; }) : m_signalled;
    if (!signalled) {
        return WaitResult::TimedOut;
    }
    m_signalled = false;
    return WaitResult::Signalled;
}

} // namespace tavrix::platform
