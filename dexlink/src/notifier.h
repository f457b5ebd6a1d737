#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "backend.h"

namespace tavrix::dexlink {

// The library's notification thread: events wait in a queue ordered by the time they are due
// and are handed to the handler one at a time, in that order.
class Notifier {
public:
    using Handler = std::function<void(const Event&)>;

    explicit Notifier(Handler handler);
    ~Notifier();

    void Start();
    // Stops the thread and drops what is still queued. Not from the handler itself.
    void Stop();
    // Dropped while stopped.
    void Post(Event event, std::chrono::microseconds delay);
    // True on this notifier's thread, also while a Stop is waiting for it.
    bool OnNotifierThread() const;

private:
    using Clock = std::chrono::steady_clock;

    // Runs until Stop ends this generation: a thread that is being stopped never serves the
    // queue of a Start that came after.
    void Run(uint64_t generation);
    bool Serving(uint64_t generation) const { return m_running && m_generation == generation; }

    Handler m_handler;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::multimap<Clock::time_point, Event> m_queue;
    bool m_running = false;
    uint64_t m_generation = 0;
    std::thread m_thread;
};

} // namespace tavrix::dexlink
