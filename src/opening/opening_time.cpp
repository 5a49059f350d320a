#include "opening_time.h"

#include "runtime/text.h"

#include <cctype>
#include <cstdio>

namespace orvane {

namespace {

// One to two digits up to `most`, then the end or `next`.
bool ReadPart(const std::string& text, size_t& at, int most, char next, int& value) {
    size_t start = at;
    value = 0;
    while (at < text.size() && at - start < 2 &&
           std::isdigit(static_cast<unsigned char>(text[at]))) {
        value = value * 10 + (text[at++] - '0');
    }
    if (at == start || value > most) {
        return false;
    }
    if (next == 0) {
        return at == text.size();
    }
    return at < text.size() && text[at++] == next;
}

} // namespace

std::variant<std::optional<OpeningTime>, std::string> ParseOpeningTime(const std::string& text) {
    std::string trimmed = TrimBlanks(text);
    if (trimmed.empty()) {
        return std::optional<OpeningTime>();
    }
    OpeningTime time;
    size_t at = 0;
    if (ReadPart(trimmed, at, 23, ':', time.hour) && ReadPart(trimmed, at, 59, ':', time.minute) &&
        ReadPart(trimmed, at, 59, 0, time.second)) {
        return std::optional<OpeningTime>(time);
    }
    return UnreadableOpeningTimeText(trimmed);
}

std::string OpeningTimeText(OpeningTime time) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.hour, time.minute, time.second);
    return text;
}

} // namespace orvane
