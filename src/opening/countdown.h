#pragma once

#include "opening_time.h"

#include <chrono>
#include <optional>
#include <string>

namespace orvane {

// The first second after `from` (on the server's clock) whose Beijing time
// of day is the opening time: within the next 24 hours.
std::chrono::sys_seconds NextOpening(std::chrono::sys_seconds from, OpeningTime time);

// What the alarm does at a second before the opening: a short beep at each
// of the last ten, a distinct one at the opening itself.
enum class Alarm { None, Beep, Opening };

// How far `second` lies from the opening time of day, before or after it,
// whichever is nearer.
std::chrono::seconds FromNearestOpening(std::chrono::sys_seconds second, OpeningTime time);
Alarm AlarmAt(std::chrono::seconds left);

// The countdown to one opening on the server's clock, as the status panel
// shows it. The opening is fixed when the time is set, or when the clock
// first shows a second after that: the next time the clock reads it, today
// or, once it has passed, tomorrow, which the panel then names. From then
// on the panel counts down to it, and shows the time again from the
// opening on, until a time is set again.
class Countdown {
public:
    void Set(std::optional<OpeningTime> time);
    // A rehearsal's opening at `opening`, counted down to as the opening's
    // and named so ("距演练开始").
    void SetPractice(std::chrono::sys_seconds opening);

    struct Turn {
        std::optional<std::string> text; // the panel's text; none: show the time
        Alarm alarm = Alarm::None;       // once per second
        bool attention = false;          // ask for the user's eye, once
    };
    // The panel at the shown second of the server's clock (GMT), whose
    // estimate may be off by `bound`.
    Turn At(std::chrono::sys_seconds second, std::chrono::duration<double> bound);

private:
    std::optional<OpeningTime> time_;
    std::optional<std::chrono::sys_seconds> opening_;
    std::optional<std::chrono::sys_seconds> alarmed_; // the last second that sounded
    bool practice_ = false;
};

// The most the clock may be off for a countdown to the second.
inline constexpr std::chrono::duration<double> kCountdownBound{0.5};

} // namespace orvane
