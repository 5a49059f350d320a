#pragma once

#include <string>

namespace orvane {

// The folder that holds the running executable, as ANSI text, without a
// trailing separator. Independent of the current directory.
std::string ProgramDirectory();

// The folder the program keeps a file of the user's in: beside the program
// when that folder holds the file already or is the user's to write in (a
// folder they unpacked or built it in); otherwise, for a program installed
// in a system folder, the user's own data folder for it,
// $XDG_DATA_HOME/orvane (~/.local/share/orvane by default). On Windows,
// beside the program.
std::string DataDirectory(const std::string& fileName);
// The same for a program in `programDirectory`.
std::string DataDirectoryFor(const std::string& programDirectory, const std::string& fileName);

// The separator that callers put between ProgramDirectory() and a file name.
inline constexpr char kPathSeparator =
#ifdef _WIN32
    '\\';
#else
    '/';
#endif

} // namespace orvane
