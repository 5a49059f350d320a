#include "read_back.h"

#include "text/text.h"

namespace orvane {

namespace {

// The characters that count: blanks a user cannot see and hyphens left out.
std::string Significant(const std::string& text) {
    std::string kept;
    for (size_t at = 0; at < text.size();) {
        size_t length = CharacterLength(text, at);
        std::string_view character(text.data() + at, length);
        if (!IsAnyBlank(character) && character != "-") {
            kept += character;
        }
        at += length;
    }
    return kept;
}

} // namespace

bool ReadsBackAs(const std::string& before, const std::string& sent, const std::string& now) {
    std::string arrived = Significant(now);
    return arrived == Significant(before + sent) || arrived == Significant(sent);
}

bool HoldsText(const std::string& text) {
    return !TrimAnyBlanks(text).empty();
}

} // namespace orvane
