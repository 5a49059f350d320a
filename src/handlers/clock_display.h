#pragma once

#include "opening/countdown.h"
#include "runtime/lifetime.h"

#include <memory>
#include <optional>
#include <string>

namespace orvane {

class NetClock;
class Window;

// The status bar's Beijing time: the server's clock, estimated from lookups
// off the window's thread, shown second by second at the server's own
// second boundaries while "时钟" runs. With the clock stopped there are no
// ticks, no lookups, no countdown and no alarm, and the panel says it is
// stopped. While an opening time lies ahead, the same seconds count down to
// it instead, with a beep at each of the last ten (unless the sound is off)
// and a call for the user's eye.
class ClockDisplay {
public:
    // `url`: the server whose clock is shown.
    ClockDisplay(Window& window, std::string url);
    ~ClockDisplay();
    ClockDisplay(const ClockDisplay&) = delete;
    ClockDisplay& operator=(const ClockDisplay&) = delete;

    // Bound to the window's creation, after the settings name the server:
    // the first lookup leaves as the window opens, not at the first tick.
    void Start();
    // Bound to each tick of "时钟": starts the next lookup when it is due and
    // shows the time.
    void Tick();
    // Ends the lookups, cancelling one under way; before the transport is
    // cleaned up. A later tick starts over.
    void Stop();

    // The server whose clock is shown from now on; its lookups start over.
    void Follow(std::string url);
    // After "时钟" was stopped or started again: the panel says it is
    // stopped, or shows the time again.
    void FollowSwitch();

    // The opening to count down to; none shows the time.
    void SetOpening(std::optional<OpeningTime> time);
    void SetSound(bool on) { sound_ = on; }

private:
    void Show();
    std::string CountedDown(std::string text);
    void Arm();
    void OnAnswer();
    bool Running() const;

    Window& window_;
    std::string url_;
    std::unique_ptr<NetClock> clock_;
    Countdown countdown_;
    bool sound_ = true;
    // Only the latest armed single shot shows, and none once this is gone
    // (last, so that it ends before the members).
    Lifetime shot_;
};

} // namespace orvane
