#include "platform/clock.h"

#include <atomic>
#include <thread>

namespace tavrix::platform {

namespace {

std::atomic<double> g_scale{1.0};

}  // namespace

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

uint32_t TickCount()
{
    static const auto start = std::chrono::steady_clock::now();
    const auto elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start);
    return static_cast<uint32_t>(static_cast<uint64_t>(elapsed.count() / TimeScale()));
}

}  // namespace tavrix::platform
