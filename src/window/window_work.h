#pragma once

#include "runtime/work_queue.h"
#include "window.h"

#include <functional>
#include <memory>

namespace orvane {

// Runs the work on the queue and the answer on the window's thread (under
// the handlers' guard, as everything posted there), unless the window is
// gone by then.
template <class Answer>
void RunForWindow(WorkQueue& queue, Window& window, std::function<Answer()> work,
                  std::function<void(Answer)> answer) {
    std::weak_ptr<const void> alive = window.Lifetime();
    queue.Run<Answer>(std::move(work), [alive, answer = std::move(answer)](Answer result) {
        if (!alive.expired()) {
            answer(std::move(result));
        }
    });
}

} // namespace orvane
