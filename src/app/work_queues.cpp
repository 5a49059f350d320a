#include "work_queues.h"

#include "window_thread.h"

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
