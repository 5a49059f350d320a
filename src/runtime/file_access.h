#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace orvane {

// Whole-file reads and atomic replacement. Paths are ANSI text; failures
// come back as reasons in words for the user.

// What reading a file gave: its bytes, or nothing with no failure when
// there is no such file, or nothing with the reason it could not be read.
struct FileRead {
    std::optional<std::string> bytes;
    std::optional<std::string> failure;
    bool Missing() const { return !bytes && !failure; }
};

// Reads a regular file of at most `limit` bytes. Anything else (a folder, a
// pipe, a device, a larger file) is refused without waiting and without
// reading past the limit.
FileRead ReadRegularFile(const std::string& file, std::size_t limit);

// Replaces the whole file atomically: a temporary file in the same folder is
// written, flushed, renamed over it, and the folder is flushed. The new file
// keeps the mode of the regular file of the user's own that it replaces, and
// is private to its owner otherwise (a link is replaced, never followed). A
// file without write permission is refused. Temporary files that an
// interrupted save left behind are removed first. Returns why it failed, or
// nothing.
std::optional<std::string> ReplaceFileContent(const std::string& file, const std::string& content);

// Removes the temporary files that an interrupted replacement of the file
// left beside it; the program does so at start too.
void RemoveStaleTemporaries(const std::string& file);

} // namespace orvane
