#include "opening_time.h"

#include "text/text.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace orvane {

namespace {

// Full-width digits and colons, as a Chinese input method types them, read
// as their ASCII forms (in both, the colon follows the nine).
std::string Halfwidth(const std::string& text) {
    std::string narrow;
    for (size_t at = 0; at < text.size();) {
        size_t length = CharacterLength(text, at);
        auto second = static_cast<unsigned char>(text[at + length - 1]);
        bool wide = length == 2 && static_cast<unsigned char>(text[at]) == 0xA3 && second >= 0xB0 &&
                    second <= 0xBA;
        narrow += wide ? std::string(1, char('0' + (second - 0xB0))) : text.substr(at, length);
        at += length;
    }
    return narrow;
}

// One or two digits (at least `fewest`) up to `most`.
bool ReadPart(const std::string& part, size_t fewest, int most, int& value) {
    if (part.size() < fewest || part.size() > 2 ||
        !std::all_of(part.begin(), part.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
        return false;
    }
    value = std::stoi(part);
    return value <= most;
}

} // namespace

Result<std::optional<OpeningTime>> ParseOpeningTime(const std::string& text) {
    std::string trimmed = TrimAnyBlanks(Halfwidth(text));
    if (trimmed.empty()) {
        return std::optional<OpeningTime>();
    }
    // A final colon makes no piece of its own.
    TextArray parts = SplitText(trimmed, ":");
    OpeningTime time;
    bool read = text.size() <= kOpeningTextLimit && trimmed.back() != ':' &&
                (parts.size() == 2 || parts.size() == 3) && ReadPart(parts[0], 1, 23, time.hour) &&
                ReadPart(parts[1], 2, 59, time.minute) &&
                (parts.size() == 2 || ReadPart(parts[2], 2, 59, time.second));
    if (!read) {
        return Failure{UnreadableOpeningTimeText(trimmed)};
    }
    return std::optional<OpeningTime>(time);
}

std::string OpeningTimeText(OpeningTime time) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.hour, time.minute, time.second);
    return text;
}

} // namespace orvane
