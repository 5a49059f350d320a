#include "header_utils.h"

#include <algorithm>

namespace orvane {

// "#引号" in GB18030, spelled as bytes so that every compiler reads it alike.
const std::string kQuoteToken = "#\xD2\xFD\xBA\xC5";

namespace {

const std::string kCrLf = "\r\n";
const std::string kCookieSeparator = "; ";

// Removes the last count bytes; an empty or shorter text becomes empty.
void DropLast(std::string& text, size_t count) {
    text.resize(text.size() > count ? text.size() - count : 0);
}

std::string CapitaliseName(const std::string& name) {
    if (FindSubtext(name, "-") == -1) {
        return CapitaliseFirst(name);
    }
    TextArray parts = SplitText(name, "-");
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        out += CapitaliseFirst(parts[i]);
        if (i + 1 < parts.size()) {
            out += "-";
        }
    }
    return out;
}

// Trims a cookie text and gives a trailing ";" its space back, so that the
// split at "; " sees it as a separator.
void TidyCookieText(std::string& cookies) {
    cookies = TrimSpaces(cookies);
    if (!cookies.empty() && cookies.back() == ';') {
        cookies += " ";
    }
}

} // namespace

std::string HeaderLineName(const std::string& line) {
    int colon = FindSubtext(line, ":");
    return colon == -1 ? std::string() : TrimSpaces(LeftText(line, colon - 1));
}

std::string HeaderLineValue(const std::string& line) {
    int colon = FindSubtext(line, ":");
    return colon == -1 ? std::string() : TrimSpaces(line.substr(size_t(colon)));
}

std::string CapitaliseFirst(const std::string& text) {
    return ToUpperCase(LeftText(text, 1)) + MidText(text, 2, int(text.size()));
}

std::string NormaliseHeaderNames(const std::string& headers) {
    std::string out;
    for (const std::string& line : SplitText(headers, kCrLf)) {
        int colon = FindSubtext(line, ":");
        if (colon == -1) {
            continue;
        }
        std::string name = CapitaliseName(LeftText(line, colon - 1));
        out += name;
        out += RightText(line, int(line.size() - name.size()));
        out += kCrLf;
    }
    DropLast(out, kCrLf.size());
    return out;
}

std::string TextBefore(const std::string& text, const std::string& marker) {
    int at = FindSubtext(text, marker);
    return at == -1 ? std::string() : LeftText(text, at - 1);
}

std::string TextBetween(const std::string& text, const std::string& left,
                        const std::string& right) {
    std::string leftMarker = ReplaceSubtext(left, kQuoteToken, "\"", 1, -1, true);
    std::string rightMarker = ReplaceSubtext(right, kQuoteToken, "\"", 1, -1, true);
    int at = FindSubtext(text, leftMarker);
    if (at == -1) {
        return {};
    }
    int start = at + int(leftMarker.size());
    int end = FindSubtext(text, rightMarker, start);
    return end == -1 ? std::string() : MidText(text, start, end - start);
}

std::string Base64Encode(const ByteArray& bytes) {
    static const char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        size_t left = std::min<size_t>(3, bytes.size() - i);
        unsigned group = unsigned(bytes[i]) << 16;
        group |= left > 1 ? unsigned(bytes[i + 1]) << 8 : 0;
        group |= left > 2 ? unsigned(bytes[i + 2]) : 0;
        for (size_t k = 0; k < 4; ++k) {
            out += k <= left ? alphabet[(group >> (18 - (6 * k))) & 0x3F] : '=';
        }
    }
    return out;
}

std::string CookieName(const std::string& item) {
    int equals = FindSubtext(item, "=");
    return TrimSpaces(equals == -1 ? item : LeftText(item, equals - 1));
}

bool HasCookieNamed(const TextArray& items, const std::string& name) {
    return std::any_of(items.begin(), items.end(),
                       [&](const std::string& item) { return CookieName(item) == name; });
}

int IndexOfText(const TextArray& items, const std::string& text) {
    auto found = std::find(items.begin(), items.end(), text);
    return found == items.end() ? -1 : int(found - items.begin()) + 1;
}

std::string RemoveDuplicateItems(const std::string& text, const std::string& separator) {
    TextArray kept;
    std::string out;
    for (const std::string& piece : SplitText(text, separator)) {
        if (IndexOfText(kept, piece) == -1) {
            kept.push_back(piece);
            out += piece + separator;
        }
    }
    DropLast(out, separator.size());
    return out;
}

std::string MergeCookies(std::string& sent, std::string& returned) {
    TidyCookieText(sent);
    TidyCookieText(returned);
    TextArray merged = SplitText(returned, kCookieSeparator);
    for (const std::string& item : SplitText(sent, kCookieSeparator)) {
        if (!HasCookieNamed(merged, CookieName(item))) {
            merged.push_back(item);
        }
    }
    sent.clear();
    for (const std::string& item : merged) {
        if (RightText(item, 8) != "=deleted") {
            sent += item + kCookieSeparator;
        }
    }
    DropLast(sent, kCookieSeparator.size());
    sent = RemoveDuplicateItems(sent, kCookieSeparator);
    return sent;
}

} // namespace orvane
