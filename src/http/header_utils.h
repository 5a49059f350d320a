#pragma once

#include "text/bytes.h"
#include "text/text.h"

#include <string>

namespace orvane {

// Header lines ("Name: value", joined by CR LF) and cookie texts ("a=1; b=2")
// as the web request routine builds and reads them. Finds are byte-exact and
// "trimmed" means TrimSpaces.

// Written into a marker where a double quote is meant: "#引号".
extern const std::string kQuoteToken;

// The trimmed bytes before the first ":"; empty when there is none.
std::string HeaderLineName(const std::string& line);
// The trimmed bytes after the first ":"; later colons stay in the value.
std::string HeaderLineValue(const std::string& line);
// The first byte upper-cased when it is an ASCII letter.
std::string CapitaliseFirst(const std::string& text);
// Drops lines without a colon and capitalises the first letter of each
// hyphen-separated part of every name; everything else stays as it was.
std::string NormaliseHeaderNames(const std::string& headers);

// The bytes before the first occurrence of the marker; empty without one.
std::string TextBefore(const std::string& text, const std::string& marker);
// The bytes between the first left marker and the next right marker after it.
std::string TextBetween(const std::string& text, const std::string& left, const std::string& right);

// RFC 4648 Base64 with padding and no line breaks.
std::string Base64Encode(const ByteArray& bytes);

// The trimmed bytes before the first "=" of a cookie item.
std::string CookieName(const std::string& item);
bool HasCookieNamed(const TextArray& items, const std::string& name);
// 1-based index of the first item equal to the text, or -1.
int IndexOfText(const TextArray& items, const std::string& text);
// Keeps the first of equal pieces, in order.
std::string RemoveDuplicateItems(const std::string& text, const std::string& separator);

// Merges the cookies a response returned into those that were sent: the
// returned ones win, order is kept, "=deleted" items disappear. Both
// arguments are trimmed in place and sent receives the merged text, which is
// also returned.
std::string MergeCookies(std::string& sent, std::string& returned);

} // namespace orvane
