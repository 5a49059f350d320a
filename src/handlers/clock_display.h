#pragma once

#include "opening/countdown.h"
#include "runtime/lifetime.h"

#include <chrono>
#include <functional>
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

    // How far the shown second lies from the opening time, before or after
    // it; none without an opening time or a second shown yet.
    std::optional<std::chrono::seconds> FromOpening() const;
    // Counts down to a rehearsal's opening `after` the shown second in
    // place of the opening's, with the same alarm, and runs `opened` once
    // the shown second reaches it. False, and nothing done, while the clock
    // is stopped or has shown no second yet.
    bool CountToPractice(std::chrono::seconds after, std::function<void()> opened);
    // Back to the opening's countdown.
    void EndPractice();
    // How exact the clock is now and which server it follows, for a
    // rehearsal's verdict: no query or password of the address.
    std::string StateLine() const;

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
    std::optional<OpeningTime> opening_;
    Countdown practice_;
    std::chrono::sys_seconds practiceAt_;
    std::function<void()> practiceOpened_; // set while a rehearsal counts down
    bool sound_ = true;
    // Only the latest armed single shot shows, and none once this is gone
    // (last, so that it ends before the members).
    Lifetime shot_;
};

} // namespace orvane
