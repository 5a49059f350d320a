#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

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

// Replaces the whole file atomically: a temporary file in the same folder,
// named as no person names a file (the file's name, ".~orvane-save-" and six
// letters or digits), is written, flushed, renamed over it, and the folder
// is flushed. The new file keeps the mode of the regular file of the user's
// own that it replaces, and is private to its owner otherwise (a link is
// replaced, never followed). A file without write permission is refused.
// Returns why it failed, or nothing.
std::optional<std::string> ReplaceFileContent(const std::string& file, const std::string& content);

// The temporary files an interrupted replacement of the file may have left
// beside it: regular files of this user with a temporary's name.
std::vector<std::string> TemporariesOf(const std::string& file);

// Removes a file; false when it could not.
bool RemoveFile(const std::string& file);

// Makes the folder and any missing folder above it, private to their owner;
// one that is there stays as it is.
void MakePrivateFolder(const std::string& folder);

} // namespace orvane
