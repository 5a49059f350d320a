#pragma once

#include <string>
#include <windows.h>

namespace orvane {

// One copy of the program per information file, so that two windows never save
// over each other's 信息.ini: the first start holds a mutex named after the
// file and a hidden window of the same name; a later start finds that
// window, asks it to bring its copy to the front, and ends. The system
// frees the mutex when a copy ends, however it ends.
class SingleCopy {
public:
    explicit SingleCopy(const std::string& file);
    ~SingleCopy();
    SingleCopy(const SingleCopy&) = delete;
    SingleCopy& operator=(const SingleCopy&) = delete;

    // Whether another copy has the file; it was asked to show its window.
    bool OtherCopyRuns() const { return other_; }

private:
    HANDLE mutex_ = nullptr;
    HWND listener_ = nullptr;
    bool other_ = false;
};

} // namespace orvane
