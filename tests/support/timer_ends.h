#pragma once

#include "handlers/window_timer.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>

namespace orvane {

// Runs the window's events until the condition holds or the milliseconds
// are over; whether it held.
using PumpUntilHeld = std::function<bool(const std::function<bool()>&, int)>;

// A timer's task runs on the window's thread after its delay, and not at
// all once the timer (and so its owner) is gone: the same on every desktop.
inline void ExpectTimerTasksEndWithTheTimer(Window& window, const PumpUntilHeld& pump) {
    bool kept = false;
    bool dropped = false;
    WindowTimer timer(window);
    timer.After(std::chrono::milliseconds(0), [&] { kept = true; });
    {
        WindowTimer gone(window);
        gone.After(std::chrono::milliseconds(0), [&] { dropped = true; });
    }
    EXPECT_TRUE(pump([&] { return kept; }, 3000));
    pump([] { return false; }, 50);
    EXPECT_FALSE(dropped);
}

} // namespace orvane
