#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace orvane {

// Slow work (the disk, the network) off the window's thread, so the window
// answers every click at once. Each queue has one thread of its own: its
// jobs run one at a time in the order queued (a load queued after a save
// reads what the save wrote), and a slow job holds up only its own queue.
// Each answer is handed to the post function, which runs it on the window's
// thread.
class WorkQueue {
public:
    using Task = std::function<void()>;
    using PostFunction = std::function<void(Task)>;

    explicit WorkQueue(PostFunction postToWindow);
    // Finishes every queued job first.
    ~WorkQueue();
    WorkQueue(const WorkQueue&) = delete;
    WorkQueue& operator=(const WorkQueue&) = delete;

    template <class Answer>
    void Run(std::function<Answer()> work, std::function<void(Answer)> answer) {
        Queue([this, work = std::move(work), answer = std::move(answer)] {
            post_([answer, result = work()] { answer(result); });
        });
    }

    // A job with no answer.
    void Run(Task job) { Queue(std::move(job)); }

    // Returns once every job queued before the call has run and posted its
    // answer.
    void Drain();

private:
    void Queue(Task job);
    void Serve();

    PostFunction post_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Task> jobs_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_; // last, so that it starts once the rest exists
};

} // namespace orvane
