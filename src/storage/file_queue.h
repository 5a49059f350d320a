#pragma once

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>
#include <functional>

// File work off the window's thread, so a slow disk never freezes it. Jobs
// run one at a time in the order queued (a load queued after a save reads
// what the save wrote); each answer comes back on the window's thread, and
// is dropped when its receiver is gone by then.
class FileQueue {
public:
    static FileQueue& Shared();

    template <class Result>
    void Run(QObject* receiver, std::function<Result()> work, std::function<void(Result)> answer) {
        QPointer<QObject> guard(receiver);
        pool_.start([guard, work = std::move(work), answer = std::move(answer)] {
            Result result = work();
            if (QCoreApplication* app = QCoreApplication::instance()) {
                QMetaObject::invokeMethod(
                    app,
                    [guard, answer, result] {
                        if (guard) {
                            answer(result);
                        }
                    },
                    Qt::QueuedConnection);
            }
        });
    }

    // Waits for every queued job and delivers its answer. Called before the
    // program ends, so that nothing queued is lost.
    void Drain();

private:
    FileQueue();
    QThreadPool pool_;
};
