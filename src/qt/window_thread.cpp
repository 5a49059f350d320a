#include "window/window_thread.h"

#include "window/fatal_error.h"

#include <QCoreApplication>

namespace orvane {

void PostToWindowThread(std::function<void()> task) {
    if (QCoreApplication* app = QCoreApplication::instance()) {
        QMetaObject::invokeMethod(
            app, [task = std::move(task)] { RunGuarded(task); }, Qt::QueuedConnection);
    }
}

void RunPostedTasks() {
    QCoreApplication::sendPostedEvents(QCoreApplication::instance(), QEvent::MetaCall);
}

} // namespace orvane
