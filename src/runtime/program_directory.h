#pragma once

#include <string>

namespace orvane {

// The folder that holds the running executable, as ANSI text, without a
// trailing separator. Independent of the current directory.
std::string ProgramDirectory();

// The separator that callers put between ProgramDirectory() and a file name.
inline constexpr char kPathSeparator =
#ifdef _WIN32
    '\\';
#else
    '/';
#endif

} // namespace orvane
