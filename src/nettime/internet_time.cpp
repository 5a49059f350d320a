#include "internet_time.h"

#include "http_date.h"

#include <ctime>

SystemTime RecordOfSeconds(std::int64_t seconds) {
    time_t moment = time_t(seconds);
    std::tm parts{};
#ifdef _WIN32
    gmtime_s(&parts, &moment);
#else
    gmtime_r(&moment, &parts);
#endif
    SystemTime record;
    record.year = std::int16_t(parts.tm_year + 1900);
    record.month = std::int16_t(parts.tm_mon + 1);
    record.dayOfWeek = std::int16_t(parts.tm_wday);
    record.day = std::int16_t(parts.tm_mday);
    record.hour = std::int16_t(parts.tm_hour);
    record.minute = std::int16_t(parts.tm_min);
    record.second = std::int16_t(parts.tm_sec);
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
