// The opening time, the countdown the panel shows to it on the server's
// clock, and the alarm before it.
#include "opening/countdown.h"
#include "text/ansi_literals.h"

#include <gtest/gtest.h>
#include <vector>

namespace orvane {

namespace {

// 2026-12-08 09:00:00 in Beijing, on the GMT line.
using namespace std::chrono_literals;
constexpr std::chrono::sys_seconds kNineOclock{1796691600s};

// What people type: blanks around, hours without a leading zero, no
// seconds, the full-width digits and colon of a Chinese input method; read
// as HH:MM:SS. Nothing half typed or out of range is a time.
TEST(OpeningTime, WhatPeopleTypeAndWhatIsNoTime) {
    auto time = [](const std::string& text) { return *ParseOpeningTime(text); };
    EXPECT_EQ(time("09:00:00"), (OpeningTime{9, 0, 0}));
    EXPECT_EQ(time(" 09:00:05"), (OpeningTime{9, 0, 5}));
    EXPECT_EQ(time("\xA1\xA1"
                   "9:30:05 "),
              (OpeningTime{9, 30, 5}))
        << "an ideographic space";
    EXPECT_EQ(time("9:00"), (OpeningTime{9, 0, 0}));
    EXPECT_EQ(time("09:00"), (OpeningTime{9, 0, 0}));
    EXPECT_EQ(time("０９：００：００"), (OpeningTime{9, 0, 0}));
    EXPECT_EQ(time("09：30：00"), (OpeningTime{9, 30, 0}));
    EXPECT_EQ(time("23:59:59"), (OpeningTime{23, 59, 59}));
    EXPECT_EQ(time(""), std::nullopt);
    EXPECT_EQ(time("   "), std::nullopt);
    for (const char* wrong : {"24:00:00", "09:60:00", "09:00:60", "09:00:6", "9:0", "09:00:00:00",
                              "9", "9点", ":00:00", "09:00:", "0９:00:00x", "-1:00:00"}) {
        EXPECT_FALSE(ParseOpeningTime(wrong).Ok()) << wrong;
    }
    EXPECT_FALSE(ParseOpeningTime(std::string(40, ' ') + "9:00").Ok())
        << "longer than the box keeps";
    EXPECT_EQ(ParseOpeningTime("9点").Reason(),
              "开始时间“9点”无法识别，应写成 时:分:秒，例如 09:00:00");
    EXPECT_EQ(OpeningTimeText({9, 0, 0}), "09:00:00");
}

TEST(Countdown, CountsToTheOpeningThenShowsTheTime) {
    Countdown countdown;
    countdown.Set(OpeningTime{9, 0, 0});
    EXPECT_EQ(countdown.At(kNineOclock - 3600s, 10ms).text, "     距开始 01:00:00");
    EXPECT_EQ(countdown.At(kNineOclock - 10s, 10ms).text, "     距开始 00:00:10");
    EXPECT_EQ(countdown.At(kNineOclock - 1s, 10ms).text, "     距开始 00:00:01");
    EXPECT_EQ(countdown.At(kNineOclock, 10ms).text, std::nullopt) << "the opening shows the time";
    EXPECT_EQ(countdown.At(kNineOclock + 1s, 10ms).text, std::nullopt) << "no count to tomorrow";
    EXPECT_EQ(countdown.At(kNineOclock - 10s, 600ms).text,
              "     距开始约 00:00:10，时钟误差超过 0.5 秒");
}

// An opening on the next day says so: set after it passed today, or due
// after midnight.
TEST(Countdown, AnOpeningOnTheNextDaySaysTomorrow) {
    Countdown countdown;
    countdown.Set(OpeningTime{0, 0, 5});
    // 23:59:58 Beijing time, the evening before.
    std::chrono::sys_seconds evening = kNineOclock - 9h - 2s;
    EXPECT_EQ(countdown.At(evening, 0s).text, "     距明天 00:00:05 还有 00:00:07");
    EXPECT_EQ(countdown.At(evening + 2s, 0s).text, "     距开始 00:00:05") << "past midnight";
    countdown.Set(OpeningTime{8, 59, 59});
    EXPECT_EQ(countdown.At(kNineOclock, 0s).text, "     距明天 08:59:59 还有 23:59:59")
        << "set after it passed";
    EXPECT_EQ(countdown.At(kNineOclock, 600ms).text,
              "     距明天 08:59:59 还有约 23:59:59，时钟误差超过 0.5 秒");
    EXPECT_EQ(NextOpening(kNineOclock - 1s, {9, 0, 0}), kNineOclock);
    EXPECT_EQ(NextOpening(kNineOclock, {9, 0, 0}), kNineOclock + 24h);
}

// Each second from ten before the opening beeps once, however often the
// panel is drawn; the opening sounds its own; the window asks for the eye
// once.
TEST(Countdown, TheAlarmSoundsEachOfTheLastTenSecondsOnce) {
    Countdown countdown;
    countdown.Set(OpeningTime{9, 0, 0});
    std::vector<Alarm> heard;
    int attention = 0;
    for (auto second = kNineOclock - 12s; second <= kNineOclock + 2s; second += 1s) {
        for (int draw = 0; draw < 3; ++draw) {
            Countdown::Turn turn = countdown.At(second, 0s);
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
