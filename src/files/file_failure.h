#pragma once

#include <cstdint>
#include <string>

namespace orvane {

// Why a file could not be read or written: one list, and one set of words,
// for every system.
enum class FileFailure {
    ReadDenied,
    WriteDenied,
    DiskFull,
    ReadOnlyDisk,
    NoFolder,
    FolderInTheWay, // a folder has the file's name
    ReadOnlyFile,
    NotRegular,
    TooLarge,
    InUse, // another program holds it open
    Other,
};

// In words for the user. `detail` is the limit in bytes for TooLarge and the
// system's error number for Other.
std::string FileFailureText(FileFailure failure, std::uint64_t detail = 0);

} // namespace orvane
