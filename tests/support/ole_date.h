#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace orvane {

// The calendar services of the OLE automation date, which the tests keep to
// check the program's dates against; the program itself counts in
// std::chrono.

// An OLE automation date: days since 30 December 1899 00:00, the fraction
// being the time of day. Before the epoch the whole part counts days back and
// the fraction still runs forward within the day (-1.25 is 29 Dec 1899 06:00).
struct DateTime {
    double days = 0;
};

// The moment a date-time names, read as it is shown: clamped into 1 Jan 100
// .. 31 Dec 9999 00:00 and rounded to the second.
std::chrono::sys_seconds MomentOf(DateTime dateTime);
DateTime DateTimeOf(std::chrono::sys_seconds moment);

// Each part is clamped into its range (year 100..9999, month 1..12, day 1..
// the month's length, hour 0..23, minute and second 0..59). Absent year,
// month and day count as 1, absent hour, minute and second as 0.
DateTime MakeDateTime(std::optional<int> year = std::nullopt,
                      std::optional<int> month = std::nullopt,
                      std::optional<int> day = std::nullopt, std::optional<int> hour = std::nullopt,
                      std::optional<int> minute = std::nullopt,
                      std::optional<int> second = std::nullopt);

// Numbered from 1 on.
enum DateUnit : int { kYears = 1, kQuarters, kMonths, kWeeks, kDays, kHours, kMinutes, kSeconds };

// Units 1-3 move the calendar fields (31 Jan + 1 month = end of February);
// units 4-8 add an exact span. The unit is clamped into 1..8.
DateTime AddToDateTime(DateTime dateTime, int unit, int amount);

// The date-time as DateTimeText shows it.
std::string ToText(DateTime dateTime);

} // namespace orvane
