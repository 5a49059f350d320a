#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orvane {

// File-system paths from the program's ANSI text (GB18030) and back. On
// Linux a path is UTF-8 bytes; on Windows it is UTF-16, converted with code
// page 54936 (GB18030) where the system has it, else 936 (GBK, which lacks
// the rarest characters). Text that does not convert becomes U+FFFD (or
// "?" in GBK), so a path is never cut short.
std::filesystem::path PathOf(std::string_view ansi);
std::string AnsiOf(const std::filesystem::path& path);

#ifndef _WIN32
// The UTF-8 bytes of a path, for the POSIX calls.
std::string NativePath(std::string_view ansiPath);
std::string AnsiFromNativePath(std::string_view nativePath);
#endif

} // namespace orvane
