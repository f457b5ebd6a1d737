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

// Program milliseconds since an arbitrary start, wrapping like a 32-bit tick counter.
uint32_t TickCount();

}  // namespace tavrix::platform
