#include "datetime.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double kMinDays = -657434; // 1 January 100
constexpr double kMaxDays = 2958465; // 31 December 9999
constexpr std::int64_t kSecondsPerDay = 86400;

// Division rounding toward minus infinity.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a / b - (a % b < 0);
}

bool IsLeapYear(std::int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : lengths[month - 1];
}

// Days from 1970-01-01 in the proleptic Gregorian calendar, and back.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    std::int64_t yoe = y - era * 400;
    std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

DateParts CivilFromDays(std::int64_t z) {
    z += 719468;
    std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    std::int64_t doe = z - era * 146097;
    std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    std::int64_t mp = (5 * doy + 2) / 153;
    DateParts parts;
    parts.day = int(doy - (153 * mp + 2) / 5 + 1);
    parts.month = int(mp < 10 ? mp + 3 : mp - 9);
    parts.year = int(yoe + era * 400 + (parts.month <= 2));
    return parts;
}

const std::int64_t kEpochDays = DaysFromCivil(1899, 12, 30);

// Seconds on a continuous time line from the OLE epoch, and back.
std::int64_t LinearSeconds(DateTime dateTime) {
    double value = std::clamp(std::isnan(dateTime.days) ? 0.0 : dateTime.days, kMinDays, kMaxDays);
    double whole = std::trunc(value);
    double linear = value >= 0 ? value : 2 * whole - value;
    return std::llround(linear * double(kSecondsPerDay));
}

DateTime FromLinearSeconds(std::int64_t seconds) {
    std::int64_t day = FloorDiv(seconds, kSecondsPerDay);
    double fraction = double(seconds - day * kSecondsPerDay) / double(kSecondsPerDay);
    return {day >= 0 ? double(day) + fraction : double(day) - fraction};
}

int ClampPart(std::optional<int> value, int fallback, int low, int high) {
    return std::clamp(value.value_or(fallback), low, high);
}

int ClampToInt(std::int64_t value) {
    return int(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

DateTime AddToCalendar(const DateParts& parts, std::int64_t years, std::int64_t months) {
    std::int64_t monthIndex = std::int64_t(parts.month) - 1 + months;
    std::int64_t carry = FloorDiv(monthIndex, 12);
    int month = int(monthIndex - carry * 12) + 1;
    std::int64_t year = parts.year + years + carry;
    return MakeDateTime(ClampToInt(year), month, parts.day, parts.hour, parts.minute, parts.second);
}

} // namespace

DateParts BreakDown(DateTime dateTime) {
    std::int64_t seconds = LinearSeconds(dateTime);
    std::int64_t day = FloorDiv(seconds, kSecondsPerDay);
    std::int64_t timeOfDay = seconds - day * kSecondsPerDay;
    DateParts parts = CivilFromDays(day + kEpochDays);
    parts.hour = int(timeOfDay / 3600);
    parts.minute = int(timeOfDay / 60 % 60);
    parts.second = int(timeOfDay % 60);
    return parts;
}

DateTime MakeDateTime(std::optional<int> year, std::optional<int> month, std::optional<int> day,
                      std::optional<int> hour, std::optional<int> minute,
                      std::optional<int> second) {
    int y = ClampPart(year, 1, 100, 9999);
    int m = ClampPart(month, 1, 1, 12);
    int d = std::min(ClampPart(day, 1, 1, 31), DaysInMonth(y, m));
    std::int64_t seconds = (DaysFromCivil(y, m, d) - kEpochDays) * kSecondsPerDay +
                           ClampPart(hour, 0, 0, 23) * 3600 + ClampPart(minute, 0, 0, 59) * 60 +
                           ClampPart(second, 0, 0, 59);
    return FromLinearSeconds(seconds);
}

DateTime AddToDateTime(DateTime dateTime, int unit, int amount) {
    unit = std::clamp(unit, int(kYears), int(kSeconds));
    if (amount == 0) {
        return FromLinearSeconds(LinearSeconds(dateTime));
    }
    switch (unit) {
    case kYears:
        return AddToCalendar(BreakDown(dateTime), amount, 0);
    case kQuarters:
        return AddToCalendar(BreakDown(dateTime), 0, std::int64_t(amount) * 3);
    case kMonths:
        return AddToCalendar(BreakDown(dateTime), 0, amount);
    default:
        break;
    }
    static const std::int64_t spanSeconds[] = {7 * kSecondsPerDay, kSecondsPerDay, 3600, 60, 1};
    return FromLinearSeconds(LinearSeconds(dateTime) + amount * spanSeconds[unit - kWeeks]);
}
