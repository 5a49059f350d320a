#include "file_access.h"

#include "file_failure.h"
#include "native_path.h"

#include <algorithm>
#include <cwctype>
#include <random>
#include <windows.h>

namespace orvane {

namespace {

// What a system error means to the user; `denied` is the refusal to read
// or to write. Missing files never come here: a read takes them as none.
std::string ReasonOf(DWORD error, FileFailure denied) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
        return FileFailureText(denied);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return FileFailureText(FileFailure::InUse);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileFailureText(FileFailure::DiskFull);
    case ERROR_WRITE_PROTECT:
        return FileFailureText(FileFailure::ReadOnlyDisk);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return FileFailureText(FileFailure::NoFolder);
    default:
        return FileFailureText(FileFailure::Other, error);
    }
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

} // namespace

// After the file's name: what no person names a file, then six letters or
// digits.
const wchar_t kTemporaryWords[] = L".~orvane-save-";

std::vector<std::string> TemporariesOf(const std::string& file) {
    std::filesystem::path target = PathOf(file);
    std::wstring pattern = target.native() + kTemporaryWords + L"??????";
    std::vector<std::string> found;
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileW(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return found;
    }
    do {
        bool regular = (entry.dwFileAttributes &
                        (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
        std::wstring name = entry.cFileName;
        bool ours =
            name.size() == target.filename().native().size() + std::size(kTemporaryWords) - 1 + 6 &&
            std::all_of(name.end() - 6, name.end(), [](wchar_t c) { return iswalnum(c); });
        if (regular && ours) {
            found.push_back(AnsiOf(target.parent_path() / name));
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return found;
}

bool RemoveFile(const std::string& file) {
    return DeleteFileW(PathOf(file).c_str()) != FALSE;
}

void MakePrivateFolder(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(PathOf(folder), ignored);
}

// A folder beside the program is the user's, with the rights they gave it.
void KeepFolderPrivate(const std::string&) {}

namespace {

// A new temporary file beside the target, with the content written and
// flushed; its path, or the error.
std::pair<std::filesystem::path, DWORD> WriteTemporary(const std::filesystem::path& target,
                                                       const std::string& content) {
    static const wchar_t letters[] =
        L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring name = target.native() + kTemporaryWords;
        for (int i = 0; i < 6; ++i) {
            name += letters[seed() % (std::size(letters) - 1)];
        }
        Handle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE) {
            DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS) {
                continue;
            }
            return {{}, error};
        }
        DWORD written = 0;
        bool ok = WriteFile(file.get(), content.data(), DWORD(content.size()), &written, nullptr) &&
                  written == content.size() && FlushFileBuffers(file.get());
        DWORD error = ok ? 0 : GetLastError();
        if (!ok) {
            DeleteFileW(name.c_str());
        }
        return {name, error};
    }
    return {{}, ERROR_FILE_EXISTS};
}

} // namespace

namespace {

// The file opened for reading if it is a regular one: its handle and size;
// none when there is no such file.
Result<std::optional<std::pair<HANDLE, ULONGLONG>>> OpenRegular(const std::string& file) {
    HANDLE handle = CreateFileW(PathOf(file).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return std::optional<std::pair<HANDLE, ULONGLONG>>();
        }
        return Failure{ReasonOf(error, FileFailure::ReadDenied)};
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        CloseHandle(handle);
        return Failure{FileFailureText(FileFailure::NotRegular)};
    }
    return std::optional(
        std::pair(handle, (ULONGLONG(info.nFileSizeHigh) << 32) | info.nFileSizeLow));
}

Result<FileBytes> ReadFrom(HANDLE handle, size_t count) {
    std::string bytes(count, '\0');
    DWORD read = 0;
    if (count > 0 && !ReadFile(handle, bytes.data(), DWORD(count), &read, nullptr)) {
        return Failure{ReasonOf(GetLastError(), FileFailure::ReadDenied)};
    }
    bytes.resize(read);
    return FileBytes(std::move(bytes));
}

} // namespace

Result<FileBytes> ReadRegularFile(const std::string& file, size_t limit) {
    auto opened = OpenRegular(file);
    if (!opened || !*opened) {
        return opened ? Result<FileBytes>(FileBytes()) : Failure{opened.Reason()};
    }
    Handle handle((*opened)->first);
    if ((*opened)->second > limit) {
        return Failure{FileFailureText(FileFailure::TooLarge, limit)};
    }
    return ReadFrom(handle.get(), size_t((*opened)->second));
}

Result<FileBytes> ReadRegularFileEnd(const std::string& file, size_t limit) {
    auto opened = OpenRegular(file);
    if (!opened || !*opened) {
        return opened ? Result<FileBytes>(FileBytes()) : Failure{opened.Reason()};
    }
    Handle handle((*opened)->first);
    ULONGLONG size = (*opened)->second;
    LARGE_INTEGER start{};
    start.QuadPart = LONGLONG(size > limit ? size - limit : 0);
    if (!SetFilePointerEx(handle.get(), start, nullptr, FILE_BEGIN)) {
        return Failure{ReasonOf(GetLastError(), FileFailure::ReadDenied)};
    }
    return ReadFrom(handle.get(), size_t(std::min<ULONGLONG>(size, limit)));
}

Result<> ReplaceFileContent(const std::string& file, const std::string& content) {
    std::filesystem::path target = PathOf(file);
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return Failure{FileFailureText(FileFailure::FolderInTheWay)};
        }
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            return Failure{FileFailureText(FileFailure::ReadOnlyFile)};
        }
    }
    auto [temporary, error] = WriteTemporary(target, content);
    if (error != 0) {
        return Failure{ReasonOf(error, FileFailure::WriteDenied)};
    }
    if (!MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
        DeleteFileW(temporary.c_str());
        return Failure{ReasonOf(error, FileFailure::WriteDenied)};
    }
    return {};
}

} // namespace orvane
