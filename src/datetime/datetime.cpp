#include "datetime.h"

#include "text/ansi_literals.h"

#include <cstdio>

namespace orvane {

using namespace std::chrono;

std::string DateTimeText(sys_seconds moment) {
    sys_days date = floor<days>(moment);
    year_month_day ymd{date};
    hh_mm_ss time{moment - date};
    int h = int(time.hours().count());
    int m = int(time.minutes().count());
    int s = int(time.seconds().count());
    char buffer[96];
    int length = std::snprintf(buffer, sizeof buffer, "%d年%u月%u日", int(ymd.year()),
                               unsigned(ymd.month()), unsigned(ymd.day()));
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

} // namespace orvane
