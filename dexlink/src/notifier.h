#pragma once

#include <chrono>
#include <condition_variable>
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
    bool OnNotifierThread() const;

private:
    using Clock = std::chrono::steady_clock;

    void Run();

    Handler m_handler;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::multimap<Clock::time_point, Event> m_queue;
    bool m_running = false;
    std::thread m_thread;
};

}  // namespace tavrix::dexlink
