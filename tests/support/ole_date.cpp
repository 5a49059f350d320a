#include "ole_date.h"

#include "datetime/datetime.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace orvane {

namespace {

using namespace std::chrono;

constexpr double kMinDays = -657434; // 1 January 100
constexpr double kMaxDays = 2958465; // 31 December 9999
constexpr sys_days kOleEpoch = year{1899} / December / 30;
constexpr double kSecondsPerDay = 86400;

int ClampPart(std::optional<int> value, int fallback, int low, int high) {
    return std::clamp(value.value_or(fallback), low, high);
}

// The day, or the month's last day when the month is shorter.
year_month_day DayInMonth(year y, month m, day d) {
    year_month_day date{y, m, d};
    return date.ok() ? date : year_month_day{year_month_day_last{y, month_day_last{m}}};
}

DateTime AddToCalendar(DateTime dateTime, std::int64_t months) {
    sys_seconds moment = MomentOf(dateTime);
    sys_days date = floor<days>(moment);
    year_month_day ymd{date};
    hh_mm_ss time{moment - date};
    std::int64_t index = std::int64_t(unsigned(ymd.month())) - 1 + months;
    std::int64_t carry = index >= 0 ? index / 12 : (index - 11) / 12;
    std::int64_t y = std::clamp<std::int64_t>(int(ymd.year()) + carry, INT32_MIN, INT32_MAX);
    return MakeDateTime(int(y), int(index - (carry * 12)) + 1, int(unsigned(ymd.day())),
                        int(time.hours().count()), int(time.minutes().count()),
                        int(time.seconds().count()));
}

} // namespace

sys_seconds MomentOf(DateTime dateTime) {
    double value = std::clamp(std::isnan(dateTime.days) ? 0.0 : dateTime.days, kMinDays, kMaxDays);
    double whole = std::trunc(value);
    double linear = value >= 0 ? value : (2 * whole) - value;
    return kOleEpoch + seconds(std::llround(linear * kSecondsPerDay));
}

DateTime DateTimeOf(sys_seconds moment) {
    sys_days date = floor<days>(moment);
    double whole = double((date - kOleEpoch).count());
    double fraction = double((moment - date).count()) / kSecondsPerDay;
    return {whole >= 0 ? whole + fraction : whole - fraction};
}

DateTime MakeDateTime(std::optional<int> y, std::optional<int> m, std::optional<int> d,
                      std::optional<int> h, std::optional<int> mi, std::optional<int> s) {
    year_month_day date =
        DayInMonth(year{ClampPart(y, 1, 100, 9999)}, month{unsigned(ClampPart(m, 1, 1, 12))},
                   day{unsigned(ClampPart(d, 1, 1, 31))});
    return DateTimeOf(sys_days{date} + hours{ClampPart(h, 0, 0, 23)} +
                      minutes{ClampPart(mi, 0, 0, 59)} + seconds{ClampPart(s, 0, 0, 59)});
}

DateTime AddToDateTime(DateTime dateTime, int unit, int amount) {
    unit = std::clamp(unit, int(kYears), int(kSeconds));
    if (amount == 0) {
        return DateTimeOf(MomentOf(dateTime));
    }
    switch (unit) {
    case kYears:
        return AddToCalendar(dateTime, std::int64_t(amount) * 12);
    case kQuarters:
        return AddToCalendar(dateTime, std::int64_t(amount) * 3);
    case kMonths:
        return AddToCalendar(dateTime, amount);
    default:
        break;
    }
    static const seconds spans[] = {weeks{1}, days{1}, hours{1}, minutes{1}, seconds{1}};
    return DateTimeOf(MomentOf(dateTime) + amount * spans[unit - kWeeks]);
}

std::string ToText(DateTime dateTime) {
    return DateTimeText(MomentOf(dateTime));
}

} // namespace orvane
