// The opening time, the countdown the panel shows to it on the server's
// clock, and the alarm before it.
#include "opening/countdown.h"
#include "runtime/ansi_literals.h"

#include <gtest/gtest.h>
#include <vector>

namespace orvane {

namespace {

// 2026-12-08 09:00:00 in Beijing, on the GMT line.
constexpr std::int64_t kNineOclock = 1796691600;

TEST(OpeningTime, ClockTimesOnlyAndEmptyForNone) {
    EXPECT_EQ(std::get<std::optional<OpeningTime>>(ParseOpeningTime("09:00:00")),
              (OpeningTime{9, 0, 0}));
    EXPECT_EQ(std::get<std::optional<OpeningTime>>(ParseOpeningTime(" 9:30:05 ")),
              (OpeningTime{9, 30, 5}));
    EXPECT_EQ(std::get<std::optional<OpeningTime>>(ParseOpeningTime("")), std::nullopt);
    for (const char* wrong : {"24:00:00", "09:60:00", "9:00", "09:00:00:00", "０9:00:00", "9点"}) {
        EXPECT_TRUE(std::holds_alternative<std::string>(ParseOpeningTime(wrong))) << wrong;
    }
    EXPECT_EQ(std::get<std::string>(ParseOpeningTime("9点")),
              "开始时间“9点”无法识别，应写成 时:分:秒，例如 09:00:00");
    EXPECT_EQ(OpeningTimeText({9, 0, 0}), "09:00:00");
}

TEST(Countdown, CountsToTheOpeningThenShowsTheTime) {
    Countdown countdown;
    countdown.Set(OpeningTime{9, 0, 0});
    EXPECT_EQ(countdown.At(kNineOclock - 3600, 0.01).text, "     距开始 01:00:00");
    EXPECT_EQ(countdown.At(kNineOclock - 10, 0.01).text, "     距开始 00:00:10");
    EXPECT_EQ(countdown.At(kNineOclock - 1, 0.01).text, "     距开始 00:00:01");
    EXPECT_EQ(countdown.At(kNineOclock, 0.01).text, std::nullopt) << "the opening shows the time";
    EXPECT_EQ(countdown.At(kNineOclock + 1, 0.01).text, std::nullopt) << "no count to tomorrow";
    EXPECT_EQ(countdown.At(kNineOclock - 10, 0.6).text,
              "     距开始约 00:00:10，时钟误差超过 0.5 秒");
}

TEST(Countdown, AnOpeningBeforeTheClockIsTomorrowsAcrossMidnight) {
    Countdown countdown;
    countdown.Set(OpeningTime{0, 0, 5});
    // 23:59:58 Beijing time, the evening before.
    std::int64_t evening = kNineOclock - 9 * 3600 - 2;
    EXPECT_EQ(countdown.At(evening, 0).text, "     距开始 00:00:07");
    countdown.Set(OpeningTime{8, 59, 59});
    EXPECT_EQ(countdown.At(kNineOclock, 0).text, "     距开始 23:59:59") << "set after it passed";
    EXPECT_EQ(NextOpening(kNineOclock - 1, {9, 0, 0}), kNineOclock);
    EXPECT_EQ(NextOpening(kNineOclock, {9, 0, 0}), kNineOclock + 24 * 3600);
}

// Each second from ten before the opening beeps once, however often the
// panel is drawn; the opening sounds its own; the window asks for the eye
// once.
TEST(Countdown, TheAlarmSoundsEachOfTheLastTenSecondsOnce) {
    Countdown countdown;
    countdown.Set(OpeningTime{9, 0, 0});
    std::vector<Alarm> heard;
    int attention = 0;
    for (std::int64_t second = kNineOclock - 12; second <= kNineOclock + 2; ++second) {
        for (int draw = 0; draw < 3; ++draw) {
            Countdown::Turn turn = countdown.At(second, 0);
            if (turn.alarm != Alarm::None) {
                heard.push_back(turn.alarm);
            }
            attention += turn.attention;
        }
    }
    std::vector<Alarm> expected(10, Alarm::Beep);
    expected.push_back(Alarm::Opening);
    EXPECT_EQ(heard, expected);
    EXPECT_EQ(attention, 1);
}

} // namespace

} // namespace orvane
