#include "datetime.h"

#include "text/ansi_literals.h"

#include <cstdio>

namespace orvane {

using namespace std::chrono;

namespace {

// A moment's calendar date and time of day.
struct Calendar {
    explicit Calendar(sys_seconds moment)
        : date(floor<days>(moment)), time(moment - floor<days>(moment)) {}
    int Year() const { return int(date.year()); }
    unsigned Month() const { return unsigned(date.month()); }
    unsigned Day() const { return unsigned(date.day()); }
    int Hour() const { return int(time.hours().count()); }
    int Minute() const { return int(time.minutes().count()); }
    int Second() const { return int(time.seconds().count()); }

    year_month_day date;
    hh_mm_ss<seconds> time;
};

} // namespace

std::string DateTimeText(sys_seconds moment) {
    Calendar at(moment);
    int h = at.Hour();
    int m = at.Minute();
    int s = at.Second();
    char buffer[96];
    int length =
        std::snprintf(buffer, sizeof buffer, "%d年%u月%u日", at.Year(), at.Month(), at.Day());
    char* rest = buffer + length;
    size_t room = sizeof buffer - size_t(length);
    if (s != 0) {
        std::snprintf(rest, room, "%d时%d分%d秒", h, m, s);
    } else if (m != 0) {
        std::snprintf(rest, room, "%d时%d分", h, m);
    } else if (h != 0) {
        std::snprintf(rest, room, "%d时", h);
    }
    return buffer;
}

std::string BeijingText(sys_seconds gmt) {
    return DateTimeText(gmt + kBeijingOffset);
}

std::string BeijingStamp(system_clock::time_point gmt) {
    Calendar at(floor<seconds>(gmt) + kBeijingOffset);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u %02d:%02d:%02d", at.Year(), at.Month(),
                  at.Day(), at.Hour(), at.Minute(), at.Second());
    return buffer;
}

} // namespace orvane
