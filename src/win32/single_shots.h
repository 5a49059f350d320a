#pragma once

#include <functional>
#include <map>
#include <windows.h>

namespace orvane {

// Tasks run once on the window's thread after a delay, to the millisecond:
// a timer-queue timer posts kMessage to the window, whose procedure hands it
// to Fire. Tasks not yet run are dropped with this.
class SingleShots {
public:
    static constexpr UINT kMessage = WM_APP + 2;

    explicit SingleShots(HWND window) : window_(window) {}
    void Add(int milliseconds, std::function<void()> task);
    void Fire(WPARAM id);

private:
    HWND window_;
    std::map<WPARAM, std::function<void()>> tasks_;
    WPARAM next_ = 1;
};

} // namespace orvane
