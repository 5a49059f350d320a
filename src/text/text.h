#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Byte-exact operations on ANSI text (GB18030 bytes). Lengths, counts and
// positions count bytes; positions are 1-based. Operations that walk by
// character step over a lead byte (0x80 and above) and the byte after it, so
// no match ever starts on a trail byte; a four-byte GB18030 character is
// stepped as two pairs, which keeps the walk aligned. An absent optional
// argument differs from a given one.

using TextArray = std::vector<std::string>;

// The first min(count, length) bytes; empty for count <= 0.
std::string LeftText(const std::string& text, int count);
// The last min(count, length) bytes; empty for count <= 0.
std::string RightText(const std::string& text, int count);
// Up to count bytes from 1-based start; empty when start is outside the text.
std::string MidText(const std::string& text, int start, int count);

// 1-based position of the first occurrence at or after start, or -1.
// An empty sought text gives 1 when the range is non-empty.
int FindSubtext(const std::string& text, const std::string& sought,
                std::optional<int> start = std::nullopt, bool ignoreCase = false);

// Replaces occurrences from start on; count absent or negative: all of them.
// Matching ignores ASCII case unless caseSensitive.
std::string ReplaceSubtext(const std::string& text, const std::string& sought,
                           const std::optional<std::string>& replacement = std::nullopt,
                           std::optional<int> start = std::nullopt,
                           std::optional<int> count = std::nullopt, bool caseSensitive = false);

// Pieces between separators: an empty piece between two separators is kept,
// none follows a final separator. An absent separator is ","; an empty one
// gives the whole text as one piece. At most maxPieces pieces when given.
TextArray SplitText(const std::string& text, const std::optional<std::string>& separator = ",",
                    std::optional<int> maxPieces = std::nullopt);

// Removes ASCII spaces and full-width spaces (A1 A1) at both ends; tabs and
// line breaks stay. A dangling lead byte at the end is dropped.
std::string TrimSpaces(const std::string& text);

// Removes blanks (space, tab, vertical tab) at both ends: what the profile
// format ignores around names and values, and table cells lose.
std::string TrimBlanks(const std::string& text);

// Removes every kind of blank a user cannot see at both ends: space, tab,
// vertical tab, the ideographic space (U+3000) and the no-break space
// (U+00A0). What a field gives to another program.
std::string TrimAnyBlanks(const std::string& text);
// Whether one character is such a blank.
bool IsAnyBlank(std::string_view character);

// The length of the GB18030 character at `at`: 1, 2 or 4 bytes; what is
// left of the text when it ends inside one.
size_t CharacterLength(const std::string& text, size_t at);

// ASCII a-z to A-Z; double-byte characters pass unchanged.
std::string ToUpperCase(const std::string& text);

// Bytes as the operations above count them.
inline bool IsLeadByte(char byte) {
    return static_cast<unsigned char>(byte) >= 0x80;
}

} // namespace orvane
