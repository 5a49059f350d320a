#pragma once

#include <string>

namespace orvane {

// The folder that holds the running executable, as ANSI text, without a
// trailing separator. Independent of the current directory.
std::string ProgramDirectory();
// The running executable itself, as ANSI text.
std::string ProgramPath();

// The folder the program keeps a file of the user's in, and a file beside
// the program that was passed over, with why (for the log); empty when
// none was.
struct DataFolder {
    std::string folder;
    std::string passedOver;
};

// A program installed in the system's program folders (/usr/bin,
// /usr/local/bin, /opt/…) keeps it in the user's own data folder for it,
// $XDG_DATA_HOME/orvane (~/.local/share/orvane by default), also when run
// as root. A copy elsewhere keeps it beside itself when the file is there
// and the user may read it, or when there is none and the folder is the
// user's to write in (a folder they unpacked or built it in); a file
// there that the user may not read is passed over. On Windows, beside the
// program.
DataFolder DataFolderFor(const std::string& programDirectory, const std::string& fileName);
// The folder, for the running program.
std::string DataDirectory(const std::string& fileName);

// The separator that callers put between ProgramDirectory() and a file name.
inline constexpr char kPathSeparator =
#ifdef _WIN32
    '\\';
#else
    '/';
#endif

// The length of the folder part of a path, its last separator left out;
// npos for a bare file name. Windows takes '/' as a separator too.
inline std::string::size_type FolderLength(const std::string& path) {
#ifdef _WIN32
    return path.find_last_of("\\/");
#else
    return path.rfind('/');
#endif
}

} // namespace orvane
