#pragma once

#include <chrono>
#include <cstdint>

// Every wait and sleep of the program goes through here, so tests can run the real timing rules
// (1000 ms reply waits, 10 ms pauses) faster without changing them. The scale is 1 unless a test
// sets it.
namespace tavrix::platform {

// Scales every later duration: 0.01 turns a 1000 ms wait into 10 ms. Must be > 0.
void SetTimeScale(double scale);
double TimeScale();

// The real duration that stands for the given number of program milliseconds.
std::chrono::microseconds ScaledDuration(uint32_t milliseconds);

void SleepMs(uint32_t milliseconds);

// Milliseconds of a monotonic clock from an unspecified start, for measuring the time between
// events; unscaled.
[[nodiscard]] uint64_t TickCountMs();

// The Qt timer interval for the given program milliseconds: 0 stays 0, any other wait lasts at
// least 1 ms so a small scale cannot turn it into a busy timer.
int TimerIntervalMs(uint32_t milliseconds);

} // namespace tavrix::platform
