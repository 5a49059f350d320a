#pragma once

#include <string>
#include <string_view>

// File-system paths between the program's ANSI text (GB18030) and the
// native encoding (UTF-8 on Linux). Bytes that are not text in the source
// encoding become U+FFFD, so a path is never cut short.
std::string NativePath(std::string_view ansiPath);
std::string AnsiFromNativePath(std::string_view nativePath);
