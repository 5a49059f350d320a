#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Windows only: the program's ANSI text (GB18030 bytes) to and from UTF-16,
// with code page 54936 where the system has it, else 936 (GBK, which lacks
// the rarest characters: those become "?").
std::wstring WideFromAnsi(std::string_view ansi);
std::string AnsiFromWide(std::wstring_view wide);

} // namespace orvane
