#pragma once

#include <string>
#include <string_view>

namespace orvane {

// The program's ANSI text (GB18030) as UTF-8 bytes, as the web and Linux
// file names take it, and back. A byte that does not convert becomes
// U+FFFD (on Windows without code page 54936, "?"), so a text is never cut
// short.
std::string Utf8Of(std::string_view ansi);
std::string AnsiFromUtf8(std::string_view utf8);

} // namespace orvane
