#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace orvane {

// Seconds since 1970-01-01 00:00 GMT that an HTTP date states: RFC 1123
// ("Sun, 06 Dec 2026 23:05:19 GMT"), RFC 850 ("Sunday, 06-Dec-26 23:05:19
// GMT") or asctime ("Sun Dec  6 23:05:19 2026") form, blanks around it
// allowed. Nothing when the text is no such date (a day that does not
// exist included): the same on every system, whose own parsers differ.
std::optional<std::int64_t> HttpDateSeconds(const std::string& text);

} // namespace orvane
