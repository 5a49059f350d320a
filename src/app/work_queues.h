#pragma once

#include "runtime/work_queue.h"

namespace orvane {

// The program's work queues, one per kind of slow work.

// Saves, loads and the remember flag, in the order the user asked for them.
WorkQueue& FileQueue();

// Finishes every queued job and delivers its answer. The start routine calls
// it after the window has closed, so that a save under way is never cut off.
void DrainWorkQueues();

} // namespace orvane
