#pragma once

#include "runtime/lifetime.h"
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
    queue.Run<Answer>(std::move(work), WhileAlive(window.Lifetime(), std::move(answer)));
}

} // namespace orvane
