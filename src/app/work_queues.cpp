#include "work_queues.h"

#include "window/window_thread.h"

namespace orvane {

WorkQueue& FileQueue() {
    static WorkQueue queue(PostToWindowThread);
    return queue;
}

void DrainWorkQueues() {
    for (WorkQueue* queue : {&FileQueue()}) {
        queue->Drain();
    }
    RunPostedTasks();
}

} // namespace orvane
