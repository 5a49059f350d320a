#pragma once

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

// The time "09:00:00" (or "9:00:00") names; nothing for an empty text (no
// countdown). Anything else is a message for the user.
std::variant<std::optional<OpeningTime>, std::string> ParseOpeningTime(const std::string& text);

// "09:00:00".
std::string OpeningTimeText(OpeningTime time);

// The refusal of a text that names no time (in countdown.cpp, with the
// program's other words, apart from the parser).
std::string UnreadableOpeningTimeText(const std::string& text);

} // namespace orvane
