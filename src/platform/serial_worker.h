#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace tavrix::platform {

// One thread that runs jobs one after another, in the order they were posted: the main window's
// keyboard thread, so the window never waits for the keyboard and its keyboard work keeps its
// order. The thread starts with the first job.
class SerialWorker {
public:
    using Job = std::function<void()>;

    SerialWorker() = default;
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;
    // Finishes every job posted, as Finish does.
    ~SerialWorker();

    // Queues job; safe from any thread, including a job's own. After Finish the job runs at once
    // on the caller's thread, so whoever waits for it is not left waiting.
    void Post(Job job);
    // No job is queued or running.
    [[nodiscard]] bool IsIdle() const;
    // Runs the jobs still queued and ends the thread; not from a job. Make their work quick first
    // (stop the device link): they are not dropped, as someone may wait for each.
    void Finish();

private:
    void Run();

    mutable std::mutex m_mutex; // guards everything below
    std::condition_variable m_queued;
    std::deque<Job> m_jobs;
    bool m_running = false; // a job is running
    bool m_finishing = false;
    std::thread m_thread;
};

} // namespace tavrix::platform
