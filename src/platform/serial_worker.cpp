#include "platform/serial_worker.h"

namespace tavrix::platform {

SerialWorker::~SerialWorker()
{
    Finish();
}

void SerialWorker::Post(Job job)
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_finishing) {
            m_jobs.push_back(std::move(job));
            if (!m_thread.joinable()) {
                m_thread = std::thread([this] { Run(); });
            }
            m_queued.notify_one();
            return;
        }
    }
    job();
}

bool SerialWorker::IsIdle() const
{
    std::lock_guard lock(m_mutex);
    return m_jobs.empty() && !m_running;
}

void SerialWorker::Finish()
{
    std::thread thread;
    {
        std::lock_guard lock(m_mutex);
        m_finishing = true;
        thread.swap(m_thread);
    }
    m_queued.notify_one();
    if (thread.joinable()) {
        thread.join();
    }
}

void SerialWorker::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_queued.wait(lock, [this] { return m_finishing || !m_jobs.empty(); });
        if (m_jobs.empty()) {
            return;
        }
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_running = true;
        lock.unlock();
        job();
        lock.lock();
        m_running = false;
    }
}

} // namespace tavrix::platform
