#include "work_queue.h"

#include <exception>

namespace orvane {

WorkQueue::WorkQueue(PostFunction postToWindow)
    : post_(std::move(postToWindow)), thread_([this] { Serve(); }) {}

WorkQueue::~WorkQueue() {
    {
        std::scoped_lock lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void WorkQueue::Drain() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

void WorkQueue::Queue(Task job) {
    {
        std::scoped_lock lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    changed_.notify_all();
}

// Runs jobs until the queue is told to stop and has none left.
void WorkQueue::Serve() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (jobs_.empty()) {
            return;
        }
        Task job = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        lock.unlock();
        try {
            job();
        } catch (...) {
            // Ends the program on the window's thread, as a handler's throw does.
            post_([error = std::current_exception()] { std::rethrow_exception(error); });
        }
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

} // namespace orvane
