#include "text.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <utility>

namespace orvane {

namespace {

bool AsciiEqualIgnoringCase(char a, char b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return lower(a) == lower(b);
}

bool MatchesAt(const std::string& text, size_t at, const std::string& sought, bool ignoreCase) {
    if (sought.size() > text.size() - at) {
        return false;
    }
    if (!ignoreCase) {
        return text.compare(at, sought.size(), sought) == 0;
    }
    return std::equal(sought.begin(), sought.end(), text.begin() + std::ptrdiff_t(at),
                      AsciiEqualIgnoringCase);
}

// Offset of the next character, or npos when a lead byte dangles at the end.
size_t NextCharacter(const std::string& text, size_t at) {
    if (!IsLeadByte(text[at])) {
        return at + 1;
    }
    return at + 1 < text.size() ? at + 2 : std::string::npos;
}

// 0-based offset of a 1-based position; 0 for positions below 1.
size_t OffsetOf(std::int64_t position) {
    return position > 1 ? size_t(position - 1) : 0;
}

} // namespace

std::string LeftText(const std::string& text, int count) {
    return count <= 0 ? std::string() : text.substr(0, size_t(count));
}

std::string RightText(const std::string& text, int count) {
    if (count <= 0) {
        return {};
    }
    size_t n = std::min(size_t(count), text.size());
    return text.substr(text.size() - n);
}

std::string MidText(const std::string& text, int start, int count) {
    std::int64_t p = std::int64_t(start) - 1;
    if (p < 0 || std::cmp_greater_equal(p, text.size()) || count <= 0) {
        return {};
    }
    return text.substr(size_t(p), size_t(count));
}

int FindSubtext(const std::string& text, const std::string& sought, std::optional<int> start,
                bool ignoreCase) {
    size_t at = start ? OffsetOf(*start) : 0;
    if (at >= text.size()) {
        return -1;
    }
    if (sought.empty()) {
        return 1;
    }
    while (at != std::string::npos && at + sought.size() <= text.size()) {
        if (MatchesAt(text, at, sought, ignoreCase)) {
            return int(at + 1);
        }
        at = NextCharacter(text, at);
    }
    return -1;
}

std::string ReplaceSubtext(const std::string& text, const std::string& sought,
                           const std::optional<std::string>& replacement, std::optional<int> start,
                           std::optional<int> count, bool caseSensitive) {
    size_t from = OffsetOf(start.value_or(1));
    if (text.empty() || sought.empty() || from >= text.size() || count == 0) {
        return text;
    }
    std::string out = text.substr(0, from);
    size_t at = from;
    int replaced = 0;
    while (at < text.size()) {
        if (MatchesAt(text, at, sought, !caseSensitive)) {
            out += replacement.value_or(std::string());
            at += sought.size();
            if (count && *count > 0 && ++replaced == *count) {
                break;
            }
            continue;
        }
        size_t next = NextCharacter(text, at);
        if (next == std::string::npos) {
            return out; // a dangling lead byte is dropped and ends the walk
        }
        out.append(text, at, next - at);
        at = next;
    }
    return out + text.substr(at);
}

TextArray SplitText(const std::string& text, const std::optional<std::string>& separator,
                    std::optional<int> maxPieces) {
    if (text.empty() || (maxPieces && *maxPieces <= 0)) {
        return {};
    }
    const std::string sep = separator.value_or(",");
    if (sep.empty()) {
        return {text};
    }
    TextArray pieces;
    size_t cut = 0;
    size_t at = 0;
    while (at != std::string::npos && at < text.size()) {
        if (!MatchesAt(text, at, sep, false)) {
            at = NextCharacter(text, at);
            continue;
        }
        pieces.push_back(text.substr(cut, at - cut));
        at += sep.size();
        cut = at;
        if (maxPieces && std::cmp_equal(pieces.size(), *maxPieces)) {
            return pieces; // the rest is discarded
        }
    }
    if (cut < text.size()) {
        pieces.push_back(text.substr(cut));
    }
    return pieces;
}

std::string TrimSpaces(const std::string& text) {
    size_t first = std::string::npos;
    size_t end = 0;
    size_t at = 0;
    while (at < text.size()) {
        size_t next = NextCharacter(text, at);
        if (next == std::string::npos) {
            break; // a dangling lead byte is dropped
        }
        bool space = text[at] == ' ' || text.compare(at, 2, "\xA1\xA1") == 0;
        if (!space) {
            first = std::min(first, at);
            end = next;
        }
        at = next;
    }
    return first == std::string::npos ? std::string() : text.substr(first, end - first);
}

std::string TrimBlanks(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\v");
    size_t last = text.find_last_not_of(" \t\v");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

size_t CharacterLength(const std::string& text, size_t at) {
    size_t length = 1;
    if (IsLeadByte(text[at])) {
        bool fourBytes = at + 1 < text.size() && text[at + 1] >= '0' && text[at + 1] <= '9';
        length = fourBytes ? 4 : 2;
    }
    return std::min(length, text.size() - at);
}

bool IsAnyBlank(std::string_view character) {
    static const std::string_view blanks[] = {" ", "\t", "\v", "\xA1\xA1", "\x81\x30\x84\x32"};
    return std::find(std::begin(blanks), std::end(blanks), character) != std::end(blanks);
}

std::string TrimAnyBlanks(const std::string& text) {
    size_t first = std::string::npos;
    size_t end = 0;
    for (size_t at = 0; at < text.size();) {
        size_t length = CharacterLength(text, at);
        if (!IsAnyBlank(std::string_view(text.data() + at, length))) {
            first = std::min(first, at);
            end = at + length;
        }
        at += length;
    }
    return first == std::string::npos ? std::string() : text.substr(first, end - first);
}

std::string ToUpperCase(const std::string& text) {
    std::string out = text;
    for (size_t at = 0; at < out.size(); at += IsLeadByte(out[at]) ? 2 : 1) {
        if (out[at] >= 'a' && out[at] <= 'z') {
            out[at] = char(out[at] - 'a' + 'A');
        }
    }
    return out;
}

} // namespace orvane
