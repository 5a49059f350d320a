#include "text_encoding.h"

#include "unicode_text.h"

#include <algorithm>

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

DecodedText DecodeText(const std::string& bytes) {
    if (bytes.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0) {
        return {AnsiFromUtf8(std::string_view(bytes).substr(kByteOrderMark.size())),
                TextEncoding::Utf8WithBom};
    }
    bool beyondAscii = std::any_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (beyondAscii && IsValidUtf8(bytes) && !SensibleGbk(bytes)) {
        return {AnsiFromUtf8(bytes), TextEncoding::Utf8};
    }
    return {bytes, TextEncoding::Ansi};
}

std::string EncodeText(const std::string& text, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return Utf8Of(text);
    case TextEncoding::Utf8WithBom:
        return kByteOrderMark + Utf8Of(text);
    case TextEncoding::Ansi:
        break;
    }
    return text;
}

} // namespace orvane
