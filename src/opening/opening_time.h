#pragma once

#include "runtime/result.h"

#include <cstddef>
#include <optional>
#include <string>
#include <variant>

namespace orvane {

// When a reservation opens: a time of day in Beijing time.
struct OpeningTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const OpeningTime&) const = default;
};

// The most a text naming an opening time may hold, in ANSI bytes.
inline constexpr size_t kOpeningTextLimit = 32;

// The time a text names: hours, minutes and perhaps seconds, "09:00:00",
// "9:00:05", "9:00", in ASCII or full-width digits and colons, blanks
// around; nothing for an empty text (no countdown). Anything else is a
// message for the user.
Result<std::optional<OpeningTime>> ParseOpeningTime(const std::string& text);

// "09:00:00".
std::string OpeningTimeText(OpeningTime time);

// The refusal of a text that names no time (in countdown.cpp, with the
// program's other words, apart from the parser).
std::string UnreadableOpeningTimeText(const std::string& text);

} // namespace orvane
