#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// How a text file's bytes hold its text: ANSI (GB18030, the Windows format
// of 信息.ini), or UTF-8, as Windows' Notepad saves a file, with or without
// its byte-order mark.
enum class TextEncoding { Ansi, Utf8, Utf8WithBom };

struct DecodedText {
    std::string text; // ANSI
    TextEncoding encoding = TextEncoding::Ansi;
    // Lines that do not read in the encoding (a line saved in the other
    // one, stray bytes): in `text` as they read best, here with the bytes
    // they had, which EncodeText writes back unchanged. The file's, not the
    // program's to change.
    std::map<std::string, std::string> kept;
    std::vector<std::size_t> keptLines; // their numbers, from 1
    // False when nothing tells which encoding the file is in: it is read,
    // but never written over.
    bool sure = true;
};

// The encoding the bytes are likely in with nothing more to go by: UTF-8
// when they start with its byte-order mark, or when they are valid UTF-8
// with characters beyond ASCII that read as no sensible GBK (Chinese text
// in GBK is almost never valid UTF-8, and UTF-8 almost never sensible GBK);
// ANSI otherwise.
TextEncoding LikelyEncoding(std::string_view bytes);

// The bytes' text in the encoding, line by line; a line that does not read
// in it is kept (DecodedText::kept).
DecodedText DecodeText(const std::string& bytes, TextEncoding encoding);
// In the likely encoding.
DecodedText DecodeText(const std::string& bytes);

// The text in its encoding, as DecodeText reads it back; kept lines as
// they were.
std::string EncodeText(const DecodedText& text);

bool IsValidUtf8(std::string_view bytes);
// Whether the bytes, with characters beyond ASCII, read as text in one
// encoding only: valid UTF-8 and no sensible GBK, or the other way round.
bool ReadsAsUtf8Only(std::string_view bytes);
bool ReadsAsGbkOnly(std::string_view bytes);

} // namespace orvane
