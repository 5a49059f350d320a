#pragma once

#include <functional>
#include <map>
#include <memory>
#include <windows.h>

namespace orvane {

// Tasks run once on the window's thread after a delay, to the millisecond:
// a timer-queue timer posts kMessage to the window, whose procedure hands it
// to Fire. Each timer is deleted once it fired, as the system frees none by
// itself; tasks not yet run are dropped with this, their timers with them.
class SingleShots {
public:
    static constexpr UINT kMessage = WM_APP + 2;

    explicit SingleShots(HWND window) : window_(window) {}
    ~SingleShots();
    SingleShots(const SingleShots&) = delete;
    SingleShots& operator=(const SingleShots&) = delete;

    void Add(int milliseconds, std::function<void()> task);
    void Fire(WPARAM id);

    // Where a timer posts, for as long as the timer lives.
    struct Target {
        HWND window;
        WPARAM id;
    };

private:
    struct Shot {
        std::function<void()> task;
        HANDLE timer = nullptr;
        std::unique_ptr<Target> target;
    };
    // Deletes the timer, waiting for its callback if it runs now, so that
    // its target may go.
    static void Delete(Shot& shot);

    HWND window_;
    std::map<WPARAM, Shot> shots_;
    WPARAM next_ = 1;
};

} // namespace orvane
