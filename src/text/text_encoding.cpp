#include "text_encoding.h"

#include "unicode_text.h"

#include <algorithm>
#include <set>

namespace orvane {

namespace {

const std::string kByteOrderMark = "\xEF\xBB\xBF";

unsigned Byte(std::string_view bytes, size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

// Every character beyond ASCII a two-byte one of GB2312, where the Chinese
// text people type lies.
bool SensibleGbk(std::string_view bytes) {
    for (size_t at = 0; at < bytes.size(); ++at) {
        if (Byte(bytes, at) < 0x80) {
            continue;
        }
        bool gb2312 = at + 1 < bytes.size() && Byte(bytes, at) >= 0xA1 && Byte(bytes, at) <= 0xF7 &&
                      Byte(bytes, at + 1) >= 0xA1 && Byte(bytes, at + 1) <= 0xFE;
        if (!gb2312) {
            return false;
        }
        ++at;
    }
    return true;
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    for (size_t at = 0; at < bytes.size();) {
        unsigned lead = Byte(bytes, at);
        size_t length = lead < 0x80                    ? 1
                        : lead >= 0xC2 && lead <= 0xDF ? 2
                        : lead >= 0xE0 && lead <= 0xEF ? 3
                        : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                       : 0;
        if (length == 0 || at + length > bytes.size()) {
            return false;
        }
        for (size_t i = 1; i < length; ++i) {
            if ((Byte(bytes, at + i) & 0xC0) != 0x80) {
                return false;
            }
        }
        // No overlong forms, surrogates or code points past U+10FFFF.
        unsigned second = length > 1 ? Byte(bytes, at + 1) : 0x80;
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
            (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
            return false;
        }
        at += length;
    }
    return true;
}

bool ReadsAsUtf8Only(std::string_view bytes) {
    bool beyondAscii = std::any_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return beyondAscii && IsValidUtf8(bytes) && !SensibleGbk(bytes);
}

bool ReadsAsGbkOnly(std::string_view bytes) {
    bool beyondAscii = std::any_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return beyondAscii && SensibleGbk(bytes) && !IsValidUtf8(bytes);
}

TextEncoding LikelyEncoding(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark)) {
        return TextEncoding::Utf8WithBom;
    }
    return ReadsAsUtf8Only(bytes) ? TextEncoding::Utf8 : TextEncoding::Ansi;
}

// A line that is not UTF-8 in a UTF-8 file reads best as ANSI (GBK saved
// by another editor); one that is only UTF-8 in an ANSI file as UTF-8.
DecodedText DecodeText(const std::string& bytes, TextEncoding encoding) {
    DecodedText decoded{.encoding = encoding};
    std::set<std::string> read; // the lines that read in the encoding
    bool utf8 = encoding != TextEncoding::Ansi;
    size_t at = utf8 && bytes.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    for (size_t number = 1; at < bytes.size(); ++number) {
        size_t end = std::min(bytes.find('\n', at), bytes.size());
        std::string line = bytes.substr(at, end - at);
        bool foreign = utf8 ? !IsValidUtf8(line) : ReadsAsUtf8Only(line);
        std::string text = utf8 != foreign ? AnsiFromUtf8(line) : line;
        if (foreign) {
            decoded.kept.emplace(text, line);
            decoded.keptLines.push_back(number);
        } else {
            read.insert(text);
        }
        decoded.text += text;
        if (end < bytes.size()) {
            decoded.text += '\n';
        }
        at = end + 1;
    }
    // A kept line that reads like another line could not be told from it.
    decoded.sure = std::none_of(decoded.kept.begin(), decoded.kept.end(),
                                [&read](const auto& kept) { return read.contains(kept.first); });
    return decoded;
}

DecodedText DecodeText(const std::string& bytes) {
    return DecodeText(bytes, LikelyEncoding(bytes));
}

std::string EncodeText(const DecodedText& text) {
    std::string bytes = text.encoding == TextEncoding::Utf8WithBom ? kByteOrderMark : "";
    for (size_t at = 0; at < text.text.size();) {
        size_t end = std::min(text.text.find('\n', at), text.text.size());
        std::string line = text.text.substr(at, end - at);
        auto kept = text.kept.find(line);
        bytes += kept != text.kept.end()               ? kept->second
                 : text.encoding == TextEncoding::Ansi ? line
                                                       : Utf8Of(line);
        if (end < text.text.size()) {
            bytes += '\n';
        }
        at = end + 1;
    }
    return bytes;
}

} // namespace orvane
