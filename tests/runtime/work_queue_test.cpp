#include "runtime/work_queue.h"

#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

namespace orvane {

namespace {

// Stands in for the window's thread: posted answers wait until it runs them.
struct WindowThread {
    void Post(WorkQueue::Task task) {
        std::scoped_lock lock(mutex);
        posted.push_back(std::move(task));
    }
    void RunPosted() {
        std::vector<WorkQueue::Task> tasks;
        {
            std::scoped_lock lock(mutex);
            tasks.swap(posted);
        }
        for (WorkQueue::Task& task : tasks) {
            task();
        }
    }
    std::mutex mutex;
    std::vector<WorkQueue::Task> posted;
};

TEST(WorkQueue, JobsRunInOrderOffTheCallersThreadAndAnswerThroughThePost) {
    WindowThread window;
    WorkQueue queue([&window](WorkQueue::Task task) { window.Post(std::move(task)); });
    std::vector<int> ran;      // touched by the worker only
    std::vector<int> answered; // touched by this thread only
    std::thread::id caller = std::this_thread::get_id();
    for (int i = 0; i < 50; ++i) {
        queue.Run<std::thread::id>(
            [i, &ran] {
                ran.push_back(i);
                return std::this_thread::get_id();
            },
            [i, &answered, caller](std::thread::id worker) {
                EXPECT_NE(worker, caller);
                answered.push_back(i);
            });
    }
    EXPECT_TRUE(answered.empty()) << "answers wait for the window's thread";
    queue.Drain();
    window.RunPosted();
    std::vector<int> expected(50);
    for (int i = 0; i < 50; ++i) {
        expected[size_t(i)] = i;
    }
    EXPECT_EQ(ran, expected);
    EXPECT_EQ(answered, expected);
}

TEST(WorkQueue, EndingTheQueueFinishesEveryQueuedJob) {
    WindowThread window;
    int done = 0;
    {
        WorkQueue queue([&window](WorkQueue::Task task) { window.Post(std::move(task)); });
        for (int i = 0; i < 20; ++i) {
            queue.Run<int>(
                [&done] {
                    std::this_thread::yield();
                    return ++done;
                },
                [](int) {});
        }
    }
    EXPECT_EQ(done, 20);
    EXPECT_EQ(window.posted.size(), 20u);
}

TEST(WorkQueue, ASlowJobHoldsUpOnlyItsOwnQueue) {
    WindowThread window;
    auto post = [&window](WorkQueue::Task task) { window.Post(std::move(task)); };
    WorkQueue slow(post);
    WorkQueue quick(post);
    std::mutex gate;
    std::unique_lock closed(gate);
    slow.Run<int>(
        [&gate] {
            std::scoped_lock wait(gate);
            return 0;
        },
        [](int) {});
    bool quickDone = false;
    quick.Run<int>([] { return 1; }, [&quickDone](int) { quickDone = true; });
    quick.Drain(); // returns although the slow queue is still blocked
    window.RunPosted();
    EXPECT_TRUE(quickDone);
    closed.unlock();
    slow.Drain();
}

} // namespace

} // namespace orvane
