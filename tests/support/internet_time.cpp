#include "internet_time.h"

#include "http/http_date.h"

#include <chrono>

namespace orvane {

SystemTime RecordOfSeconds(std::int64_t moment) {
    using namespace std::chrono;
    sys_seconds at{seconds{moment}};
    sys_days date = floor<days>(at);
    year_month_day ymd{date};
    hh_mm_ss time{at - date};
    SystemTime record;
    record.year = std::int16_t(int(ymd.year()));
    record.month = std::int16_t(unsigned(ymd.month()));
    record.dayOfWeek = std::int16_t(weekday{date}.c_encoding());
    record.day = std::int16_t(unsigned(ymd.day()));
    record.hour = std::int16_t(time.hours().count());
    record.minute = std::int16_t(time.minutes().count());
    record.second = std::int16_t(time.seconds().count());
    return record;
}

bool InternetTimeToSystemTime(const std::string& text, SystemTime* record, int reserved) {
    std::optional<std::int64_t> seconds = HttpDateSeconds(text);
    if (!seconds || record == nullptr || reserved != 0) {
        return false;
    }
    *record = RecordOfSeconds(*seconds);
    return true;
}

} // namespace orvane
