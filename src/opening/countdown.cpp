#include "countdown.h"

#include "runtime/ansi_literals.h"

#include <cstdio>

namespace orvane {

namespace {

constexpr std::int64_t kDay = std::int64_t{24} * 3600;
constexpr std::int64_t kBeijingOffset = std::int64_t{8} * 3600;
constexpr std::int64_t kAlarmSeconds = 10;

// The Beijing day a second on the GMT line falls on, counted from 1970.
std::int64_t DayOf(std::int64_t second) {
    std::int64_t beijing = second + kBeijingOffset;
    return (beijing - ((beijing % kDay) + kDay) % kDay) / kDay;
}

std::string Clock(std::int64_t seconds) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", int(seconds / 3600), int(seconds / 60 % 60),
                  int(seconds % 60));
    return text;
}

} // namespace

std::int64_t NextOpening(std::int64_t from, OpeningTime time) {
    std::int64_t ofDay = time.hour * 3600 + time.minute * 60 + time.second;
    std::int64_t beijing = from + kBeijingOffset;
    std::int64_t dayStart = beijing - ((beijing % kDay) + kDay) % kDay;
    std::int64_t opening = dayStart + ofDay;
    if (opening <= beijing) {
        opening += kDay;
    }
    return opening - kBeijingOffset;
}

std::string UnreadableOpeningTimeText(const std::string& text) {
    return "开始时间“" + text + "”无法识别，应写成 时:分:秒，例如 09:00:00";
}

Alarm AlarmAt(std::int64_t secondsLeft) {
    if (secondsLeft == 0) {
        return Alarm::Opening;
    }
    return secondsLeft > 0 && secondsLeft <= kAlarmSeconds ? Alarm::Beep : Alarm::None;
}

void Countdown::Set(std::optional<OpeningTime> time) {
    time_ = time;
    opening_.reset();
    alarmed_.reset();
}

Countdown::Turn Countdown::At(std::int64_t second, double bound) {
    if (!time_) {
        return {};
    }
    if (!opening_) {
        opening_ = NextOpening(second, *time_);
    }
    std::int64_t left = *opening_ - second;
    Turn turn;
    if (left > 0) {
        // An opening that has passed today is tomorrow's: the panel says so.
        std::string to = DayOf(*opening_) != DayOf(second)
                             ? "距明天 " + OpeningTimeText(*time_) + " 还有"
                             : std::string("距开始");
        turn.text = bound <= kCountdownBound
                        ? "     " + to + " " + Clock(left)
                        : "     " + to + "约 " + Clock(left) + "，时钟误差超过 0.5 秒";
    }
    if (alarmed_ != second && left >= 0) {
        turn.alarm = AlarmAt(left);
        turn.attention = left == kAlarmSeconds;
        alarmed_ = second;
    }
    return turn;
}

} // namespace orvane
