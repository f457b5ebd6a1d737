#include "platform/worker_threads.h"

#include <atomic>

namespace tavrix::platform {

struct WorkerThreads::Worker {
    std::atomic<bool> finished{false};
    std::thread thread;
};

WorkerThreads::WorkerThreads() = default;

WorkerThreads::~WorkerThreads()
{
    JoinAll();
}

void WorkerThreads::Start(std::function<void()> work)
{
    JoinFinished();
    auto worker = std::make_unique<Worker>();
    Worker* raw = worker.get();
    std::lock_guard lock(m_mutex);
    raw->thread = std::thread([raw, work = std::move(work)] {
        work();
        raw->finished = true;
    });
    m_workers.push_back(std::move(worker));
}

void WorkerThreads::JoinFinished()
{
    std::list<std::unique_ptr<Worker>> finished;
    {
        std::lock_guard lock(m_mutex);
        for (auto it = m_workers.begin(); it != m_workers.end();) {
            auto next = std::next(it);
            if ((*it)->finished) {
                finished.splice(finished.end(), m_workers, it);
            }
            it = next;
        }
    }
    for (auto& worker : finished) {
        worker->thread.join();
    }
}

void WorkerThreads::JoinAll()
{
    for (;;) {
        std::list<std::unique_ptr<Worker>> all;
        {
            std::lock_guard lock(m_mutex);
            all.swap(m_workers);
        }
        if (all.empty()) {
            return;
        }
        for (auto& worker : all) {
            worker->thread.join();
        }
    }
}

} // namespace tavrix::platform
