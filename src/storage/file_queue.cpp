#include "file_queue.h"

FileQueue& FileQueue::Shared() {
    static FileQueue queue;
    return queue;
}

FileQueue::FileQueue() {
    pool_.setMaxThreadCount(1);
}

void FileQueue::Drain() {
    pool_.waitForDone();
    QCoreApplication::sendPostedEvents(QCoreApplication::instance(), QEvent::MetaCall);
}
