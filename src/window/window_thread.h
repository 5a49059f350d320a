#pragma once

#include <functional>

namespace orvane {

// The window's thread as the work queues reach it.

// Runs the task on the window's thread once its event loop gets to it,
// under the handlers' guard; safe from any thread. Dropped when the
// application is gone.
void PostToWindowThread(std::function<void()> task);

// Runs the tasks posted so far, at once. Used after the event loop has
// ended, so that no answer of a finished job is lost.
void RunPostedTasks();

} // namespace orvane
