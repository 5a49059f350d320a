#include "countdown.h"

#include "datetime/datetime.h"
#include "text/ansi_literals.h"

#include <algorithm>
#include <cstdio>

namespace orvane {

namespace {

using namespace std::chrono;

constexpr seconds kAlarmSeconds{10};

// The Beijing day a second falls on.
sys_days DayOf(sys_seconds second) {
    return floor<days>(second + kBeijingOffset);
}

std::string Clock(seconds left) {
    hh_mm_ss shown{left};
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", int(shown.hours().count()),
                  int(shown.minutes().count()), int(shown.seconds().count()));
    return text;
}

} // namespace

sys_seconds NextOpening(sys_seconds from, OpeningTime time) {
    seconds ofDay = hours{time.hour} + minutes{time.minute} + seconds{time.second};
    sys_seconds opening = DayOf(from) + ofDay - kBeijingOffset;
    return opening <= from ? opening + days{1} : opening;
}

std::string UnreadableOpeningTimeText(const std::string& text) {
    return "开始时间“" + text + "”无法识别，应写成 时:分:秒，例如 09:00:00";
}

seconds FromNearestOpening(sys_seconds second, OpeningTime time) {
    seconds after = NextOpening(second, time) - second;
    seconds day = days{1};
    return std::min(after, day - after);
}

Alarm AlarmAt(seconds left) {
    if (left == seconds{0}) {
        return Alarm::Opening;
    }
    return left > seconds{0} && left <= kAlarmSeconds ? Alarm::Beep : Alarm::None;
}

void Countdown::Set(std::optional<OpeningTime> time) {
    time_ = time;
    opening_.reset();
    alarmed_.reset();
    practice_ = false;
}

void Countdown::SetPractice(sys_seconds opening) {
    hh_mm_ss ofDay{(opening + kBeijingOffset) - DayOf(opening)};
    Set(OpeningTime{int(ofDay.hours().count()), int(ofDay.minutes().count()),
                    int(ofDay.seconds().count())});
    opening_ = opening;
    practice_ = true;
}

Countdown::Turn Countdown::At(sys_seconds second, duration<double> bound) {
    if (!time_) {
        return {};
    }
    if (!opening_) {
        opening_ = NextOpening(second, *time_);
    }
    seconds left = *opening_ - second;
    Turn turn;
    if (left > seconds{0}) {
        // An opening that has passed today is tomorrow's: the panel says so.
        std::string to = practice_ ? std::string("距演练开始")
                         : DayOf(*opening_) != DayOf(second)
                             ? "距明天 " + OpeningTimeText(*time_) + " 还有"
                             : std::string("距开始");
        turn.text = bound <= kCountdownBound
                        ? "     " + to + " " + Clock(left)
                        : "     " + to + "约 " + Clock(left) + "，时钟误差超过 0.5 秒";
    }
    if (alarmed_ != second && left >= seconds{0}) {
        turn.alarm = AlarmAt(left);
        turn.attention = left == kAlarmSeconds;
        alarmed_ = second;
    }
    return turn;
}

} // namespace orvane
