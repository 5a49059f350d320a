#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Seconds since 1970-01-01 00:00 GMT that an HTTP date states: RFC 1123,
// RFC 850 or asctime form, leading blanks allowed. Nothing when the text is
// no date. Each transport library defines it with its system's parser.
std::optional<std::int64_t> HttpDateSeconds(const std::string& text);
