#pragma once

#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace tavrix::platform {

// Short-lived threads started on demand (connection changes, tray-icon changes). Finished ones
// are joined when the next one starts, the rest when the owner goes away.
class WorkerThreads {
public:
    WorkerThreads();
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;
    ~WorkerThreads();

    void Start(std::function<void()> work);
    // Waits for every thread started so far.
    void JoinAll();

private:
    struct Worker;

    void JoinFinished();

    std::mutex m_mutex;
    std::list<std::unique_ptr<Worker>> m_workers;
};

} // namespace tavrix::platform
