#pragma once

#include <string>
#include <string_view>

namespace orvane {

// How a text file's bytes hold its text: ANSI (GB18030, the Windows format
// of 信息.ini), or UTF-8, as Windows' Notepad saves a file, with or without
// its byte-order mark.
enum class TextEncoding { Ansi, Utf8, Utf8WithBom };

struct DecodedText {
    std::string text; // ANSI
    TextEncoding encoding = TextEncoding::Ansi;
};

// The bytes' text: UTF-8 when they start with its byte-order mark, or when
// they are valid UTF-8 with characters beyond ASCII that read as no sensible
// GBK (Chinese text in GBK is almost never valid UTF-8, and UTF-8 almost
// never sensible GBK); ANSI otherwise.
DecodedText DecodeText(const std::string& bytes);

// The text in the encoding, as DecodeText reads it back.
std::string EncodeText(const std::string& text, TextEncoding encoding);

bool IsValidUtf8(std::string_view bytes);

} // namespace orvane
