#pragma once

#include <QLocalServer>
#include <QPointer>
#include <QWidget>
#include <string>

namespace orvane {

// One copy of the program per information file, so that two windows never save
// over each other's 信息.ini: the first start claims the file with a
// local socket named after it; a later one asks that copy to show its
// window and ends. A socket left by a copy that crashed is taken over.
class SingleCopy {
public:
    explicit SingleCopy(const std::string& file);
    SingleCopy(const SingleCopy&) = delete;
    SingleCopy& operator=(const SingleCopy&) = delete;

    // Whether another copy has the file; it was asked to show its window.
    bool OtherCopyRuns() const { return other_; }
    // From now on a later start brings the window to the front.
    void ShowOnRequest(QWidget* window);

private:
    QLocalServer server_;
    QPointer<QWidget> window_;
    bool other_ = false;
};

} // namespace orvane
