#pragma once

#include "window.h"
#include "work_queue.h"

// The program's work queues, one per kind of slow work.

// Saves, loads and the remember flag, in the order the user asked for them.
WorkQueue& FileQueue();

// Finishes every queued job and delivers its answer. main() calls it after
// the window has closed, so that a save under way is never cut off.
void DrainWorkQueues();

// Runs the work on the queue and the answer on the window's thread, unless
// the window is gone by then.
template <class Result>
void RunForWindow(WorkQueue& queue, Window& window, std::function<Result()> work,
                  std::function<void(Result)> answer) {
    std::weak_ptr<const void> alive = window.Lifetime();
    queue.Run<Result>(std::move(work), [alive, answer = std::move(answer)](Result result) {
        if (!alive.expired()) {
            answer(std::move(result));
        }
    });
}
