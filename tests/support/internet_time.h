#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orvane {

// A calendar record: year, month, day of week, day, hour, minute, second,
// milliseconds, as 16-bit fields in that order.
struct SystemTime {
    std::int16_t year = 0;
    std::int16_t month = 0;
    std::int16_t dayOfWeek = 0;
    std::int16_t day = 0;
    std::int16_t hour = 0;
    std::int16_t minute = 0;
    std::int16_t second = 0;
    std::int16_t milliseconds = 0;
};

// The GMT calendar record of a moment in seconds since 1970.
SystemTime RecordOfSeconds(std::int64_t moment);

// Fills the record with the GMT date and time that the HTTP date states.
// When the text is no date the record stays as it was and the result is
// false. The last argument is reserved and must be 0.
bool InternetTimeToSystemTime(const std::string& text, SystemTime* record, int reserved);

} // namespace orvane
