#pragma once

#include "runtime/lifetime.h"
#include "typing/typing_engine.h"

namespace orvane {

class Window;

// The typing engine's time on the window's timers. What it was given to run
// later ends with it: a task never reaches an owner that is gone.
class WindowTimer : public TypingTimer {
public:
    explicit WindowTimer(Window& window) : window_(window) {}
    std::chrono::steady_clock::time_point Now() override;
    void After(std::chrono::milliseconds delay, std::function<void()> task) override;

private:
    Window& window_;
    Lifetime lifetime_;
};

} // namespace orvane
