#include "window_timer.h"

#include "window/window.h"

namespace orvane {

std::chrono::steady_clock::time_point WindowTimer::Now() {
    return std::chrono::steady_clock::now();
}

void WindowTimer::After(std::chrono::milliseconds delay, std::function<void()> task) {
    window_.RunAfter(int(delay.count()), lifetime_.Bind(std::move(task)));
}

} // namespace orvane
