#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace tavrix::platform {

// An event that releases exactly one wait per Set and then resets itself; a Set with nobody
// waiting stays signalled until the next wait takes it.
class AutoResetEvent {
public:
    enum class WaitResult { Signalled, TimedOut };

    void Set();
    void Reset();
    // Waits for the given program milliseconds (scaled by the clock).
    WaitResult Wait(uint32_t milliseconds);

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_signalled = false;
};

} // namespace tavrix::platform
