#include "datetime/datetime.h"
#include "ole_date.h"
#include "text/ansi_literals.h"

#include <gtest/gtest.h>

namespace orvane {

namespace {

std::string Text(DateTime t) {
    return ToText(t);
}

TEST(DateTime, OleEpochAndNegativeDates) {
    EXPECT_EQ(MakeDateTime(1899, 12, 30).days, 0.0);
    EXPECT_EQ(MakeDateTime(1900, 1, 1).days, 2.0);
    EXPECT_DOUBLE_EQ(MakeDateTime(1899, 12, 29, 6).days, -1.25);
    EXPECT_EQ(Text({-1.25}), "1899年12月29日6时");
    EXPECT_EQ(MakeDateTime(100, 1, 1).days, -657434.0);
    EXPECT_EQ(MakeDateTime(9999, 12, 31).days, 2958465.0);
    EXPECT_EQ(MakeDateTime().days, -657434.0) << "absent parts: 1 January 100";
}

TEST(DateTime, MakeClampsEachPartThenTheDay) {
    EXPECT_EQ(Text(MakeDateTime(2021, 2, 30)), "2021年2月28日");
    EXPECT_EQ(Text(MakeDateTime(2020, 2, 30)), "2020年2月29日");
    EXPECT_EQ(Text(MakeDateTime(1900, 2, 29)), "1900年2月28日");
    EXPECT_EQ(Text(MakeDateTime(2000, 2, 29)), "2000年2月29日");
    EXPECT_EQ(Text(MakeDateTime(0, 0, 0, -1, -1, -1)), "100年1月1日");
    EXPECT_EQ(Text(MakeDateTime(2021, 13, 32, 24, 60, 60)), "2021年12月31日23时59分59秒");
    // Reading clamps to 31 December 9999 00:00, the last day's start.
    EXPECT_EQ(Text(MakeDateTime(99999, 13, 32, 24, 60, 60)), "9999年12月31日");
}

TEST(DateTime, TextLeavesOutTrailingZeroParts) {
    EXPECT_EQ(Text(MakeDateTime(2026, 12, 7, 7, 5, 19)), "2026年12月7日7时5分19秒");
    EXPECT_EQ(Text(MakeDateTime(2021, 5, 1, 8)), "2021年5月1日8时");
    EXPECT_EQ(Text(MakeDateTime(2021, 5, 1, 8, 30)), "2021年5月1日8时30分");
    EXPECT_EQ(Text(MakeDateTime(2021, 5, 1, 8, 0, 5)), "2021年5月1日8时0分5秒");
    EXPECT_EQ(Text(MakeDateTime(2021, 5, 1)), "2021年5月1日");
}

// The status bar and the failure log name one Beijing moment alike, across
// the year's end, and a log line never claims a second not yet begun.
TEST(DateTime, BeijingTheSameInTheStatusBarAndTheLog) {
    using namespace std::chrono;
    sys_seconds newYear = sys_days{2026y / 12 / 31} + 16h;
    EXPECT_EQ(BeijingText(newYear), "2027年1月1日");
    EXPECT_EQ(BeijingStamp(newYear), "2027-01-01 00:00:00");
    EXPECT_EQ(BeijingText(newYear - 1s), "2026年12月31日23时59分59秒");
    EXPECT_EQ(BeijingStamp(newYear - 1ms), "2026-12-31 23:59:59");
}

TEST(DateTime, BreakDownRoundsToTheSecondAndClamps) {
    DateTime almostMidnight{MakeDateTime(2021, 5, 1).days + (86399.6 / 86400)};
    EXPECT_EQ(Text(almostMidnight), "2021年5月2日");
    EXPECT_EQ(Text({1e12}), "9999年12月31日");
    EXPECT_EQ(Text({-1e12}), "100年1月1日");
}

// The OLE dates name the same moments as the calendar of std::chrono, before
// the epoch too, and both give the same text.
TEST(DateTime, OleDatesAreMomentsOfTheCalendar) {
    using namespace std::chrono;
    const sys_seconds moments[] = {
        sys_days{year{1899} / 12 / 30},
        sys_days{year{1899} / 12 / 29} + hours{6},
        sys_days{year{2026} / 12 / 7} + hours{7} + minutes{5} + seconds{19},
        sys_days{year{100} / 1 / 1},
        sys_days{year{9999} / 12 / 31},
    };
    for (sys_seconds moment : moments) {
        DateTime date = DateTimeOf(moment);
        EXPECT_EQ(MomentOf(date), moment);
        EXPECT_EQ(DateTimeText(moment), ToText(date));
    }
    EXPECT_EQ(DateTimeOf(moments[1]).days, -1.25);
    EXPECT_EQ(MomentOf(MakeDateTime(2026, 12, 7, 7, 5, 19)), moments[2]);
}

struct AddCase {
    DateTime from;
    int unit, amount;
    std::string expected;
};

TEST(DateTime, AddToDateTime) {
    const AddCase cases[] = {
        {MakeDateTime(2020, 12, 31, 20), kHours, 8, "2021年1月1日4时"},
        {MakeDateTime(2026, 12, 6, 23, 5, 19), kHours, 8, "2026年12月7日7时5分19秒"},
        {MakeDateTime(2026, 12, 6, 16), kHours, 8, "2026年12月7日"},
        {MakeDateTime(2021, 1, 31), kMonths, 1, "2021年2月28日"},
        {MakeDateTime(2020, 1, 31), kMonths, 1, "2020年2月29日"},
        {MakeDateTime(2021, 1, 15), kMonths, -1, "2020年12月15日"},
        {MakeDateTime(2021, 11, 15), kMonths, 14, "2023年1月15日"},
        {MakeDateTime(2021, 11, 15), kQuarters, 1, "2022年2月15日"},
        {MakeDateTime(2020, 2, 29), kYears, 1, "2021年2月28日"},
        {MakeDateTime(2021, 3, 1), kDays, -1, "2021年2月28日"},
        {MakeDateTime(2021, 3, 1), kWeeks, 1, "2021年3月8日"},
        {MakeDateTime(1899, 12, 30), kMinutes, -90, "1899年12月29日22时30分"},
        {MakeDateTime(1899, 12, 29, 23, 59, 59), kSeconds, 1, "1899年12月30日"},
        {MakeDateTime(2021, 3, 1), 99, 5, "2021年3月1日0时0分5秒"},
        {MakeDateTime(2021, 3, 1), -4, 1, "2022年3月1日"},
        {MakeDateTime(2021, 3, 1), kYears, INT32_MAX, "9999年3月1日"},
        {DateTime{1e12}, kDays, 0, "9999年12月31日"},
    };
    for (const AddCase& c : cases) {
        EXPECT_EQ(Text(AddToDateTime(c.from, c.unit, c.amount)), c.expected)
            << c.unit << " " << c.amount;
    }
}

} // namespace

} // namespace orvane
