#include "notifier.h"

namespace tavrix::dexlink {

namespace {

// The notifier whose thread this is, also while a Stop waits for it to end.
thread_local const Notifier* t_serving = nullptr;

} // namespace

Notifier::Notifier(Handler handler) : m_handler(std::move(handler))
{
}

Notifier::~Notifier()
{
    Stop();
}

void Notifier::Start()
{
    std::lock_guard lock(m_mutex);
    if (m_running) {
        return;
    }
    m_running = true;
    m_thread = std::thread([this, generation = ++m_generation] { Run(generation); });
}

void Notifier::Stop()
{
    std::thread thread;
    {
        std::lock_guard lock(m_mutex);
        m_running = false;
        m_queue.clear();
        thread.swap(m_thread);
    }
    m_changed.notify_all();
    if (thread.joinable()) {
        thread.join();
    }
}

void Notifier::Post(Event event, std::chrono::microseconds delay)
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_running) {
            return;
        }
        m_queue.emplace(Clock::now() + delay, std::move(event));
    }
    m_changed.notify_all();
}

bool Notifier::OnNotifierThread() const
{
    return t_serving == this;
}

void Notifier::Run(uint64_t generation)
{
    t_serving = this;
    std::unique_lock lock(m_mutex);
    while (Serving(generation)) {
        if (m_queue.empty()) {
            m_changed.wait(lock);
            continue;
        }
        const auto due = m_queue.begin()->first;
        if (Clock::now() < due) {
            m_changed.wait_until(lock, due);
            continue;
        }
        Event event = std::move(m_queue.begin()->second);
        m_queue.erase(m_queue.begin());
        lock.unlock();
        m_handler(event);
        lock.lock();
    }
}

} // namespace tavrix::dexlink
