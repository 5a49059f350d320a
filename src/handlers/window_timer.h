#pragma once

#include "typing/typing_engine.h"

namespace orvane {

class Window;

// The typing engine's time on the window's timers.
class WindowTimer : public TypingTimer {
public:
    explicit WindowTimer(Window& window) : window_(window) {}
    std::chrono::steady_clock::time_point Now() override;
    void After(std::chrono::milliseconds delay, std::function<void()> task) override;

private:
    Window& window_;
};

} // namespace orvane
