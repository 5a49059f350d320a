#pragma once

#include "runtime/result.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// Whole-file reads and atomic replacement. Paths are ANSI text.

// A file's bytes; none when there is no such file.
using FileBytes = std::optional<std::string>;

// Reads a regular file of at most `limit` bytes. Anything else (a folder, a
// pipe, a device, a larger file) is refused without waiting and without
// reading past the limit.
Result<FileBytes> ReadRegularFile(const std::string& file, std::size_t limit);
// The last `limit` bytes of a regular file, the whole of a smaller one;
// anything else refused as ReadRegularFile refuses it.
Result<FileBytes> ReadRegularFileEnd(const std::string& file, std::size_t limit);

// Replaces the whole file atomically: a temporary file in the same folder,
// named as no person names a file (the file's name, ".~orvane-save-" and six
// letters or digits), is written, flushed, renamed over it, and the folder
// is flushed. The new file is private to its owner, whatever the file it
// replaces was (a link is replaced, never followed). A file without write
// permission is refused.
Result<> ReplaceFileContent(const std::string& file, const std::string& content);

// The temporary files an interrupted replacement of the file may have left
// beside it: regular files of this user with a temporary's name.
std::vector<std::string> TemporariesOf(const std::string& file);

// Removes a file; false when it could not.
bool RemoveFile(const std::string& file);

// Makes the folder and any missing folder above it, private to their owner;
// one that is there stays as it is.
void MakePrivateFolder(const std::string& folder);
// Makes the folder, which the program made for itself, private to its
// owner again, whatever it was made since.
void KeepFolderPrivate(const std::string& folder);

} // namespace orvane
