#include "window/window_thread.h"

#include <QCoreApplication>

namespace orvane {

void PostToWindowThread(std::function<void()> task) {
    if (QCoreApplication* app = QCoreApplication::instance()) {
        QMetaObject::invokeMethod(app, std::move(task), Qt::QueuedConnection);
    }
}

void RunPostedTasks() {
    QCoreApplication::sendPostedEvents(QCoreApplication::instance(), QEvent::MetaCall);
}

} // namespace orvane
