#include "platform/clock.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace tavrix::platform {

namespace {

std::atomic<double> g_scale{1.0};

} // namespace

void SetTimeScale(double scale)
{
    g_scale.store(scale > 0 ? scale : 1.0);
}

double TimeScale()
{
    return g_scale.load();
}

std::chrono::microseconds ScaledDuration(uint32_t milliseconds)
{
    return std::chrono::microseconds(static_cast<int64_t>(milliseconds * 1000.0 * TimeScale()));
}

void SleepMs(uint32_t milliseconds)
{
    std::this_thread::sleep_for(ScaledDuration(milliseconds));
}

uint64_t TickCountMs()
{
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

int TimerIntervalMs(uint32_t milliseconds)
{
    if (milliseconds == 0) {
        return 0;
    }
    const auto scaled = std::chrono::duration_cast<std::chrono::milliseconds>(ScaledDuration(milliseconds)).count();
    return std::max<int>(1, static_cast<int>(scaled));
}

} // namespace tavrix::platform
