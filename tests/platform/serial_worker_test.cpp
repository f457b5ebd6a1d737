#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/serial_worker.h"

namespace tavrix::platform {
namespace {

TEST(SerialWorkerTest, RunsJobsInOrderOffTheCallersThreadAndFinishesThemAll)
{
    std::mutex mutex;
    std::vector<int> done;
    std::atomic<bool> release{false};
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<bool> offCaller{true};
    {
        SerialWorker worker;
        EXPECT_TRUE(worker.IsIdle());
        worker.Post([&] {
            while (!release) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        for (int i = 0; i < 5; ++i) {
            worker.Post([&, i] {
                offCaller = offCaller && std::this_thread::get_id() != caller;
                std::lock_guard lock(mutex);
                done.push_back(i);
            });
        }
        EXPECT_FALSE(worker.IsIdle());
        release = true;
        worker.Finish();
        EXPECT_TRUE(worker.IsIdle());
        int late = 0;
        worker.Post([&] { late = 1; });
        EXPECT_EQ(late, 1) << "after Finish a job runs at once, so nobody waits for it in vain";
    }
    EXPECT_EQ(done, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(offCaller);
}

} // namespace
} // namespace tavrix::platform
