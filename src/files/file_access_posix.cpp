#include "file_access.h"

#include "file_failure.h"
#include "native_path.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace orvane {

namespace {

// After the file's name: what no person names a file, and mkstemp's six.
const char kTemporaryPattern[] = ".~orvane-save-XXXXXX";

std::string WriteReasonOf(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return FileFailureText(FileFailure::WriteDenied);
    case ENOSPC:
    case EDQUOT:
        return FileFailureText(FileFailure::DiskFull);
    case EROFS:
        return FileFailureText(FileFailure::ReadOnlyDisk);
    case ENOENT:
    case ENOTDIR:
        return FileFailureText(FileFailure::NoFolder);
    case EISDIR:
        return FileFailureText(FileFailure::FolderInTheWay);
    default:
        return FileFailureText(FileFailure::Other, std::uint64_t(error));
    }
}

std::string ReadReasonOf(int error) {
    return error == EACCES || error == EPERM
               ? FileFailureText(FileFailure::ReadDenied)
               : FileFailureText(FileFailure::Other, std::uint64_t(error));
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

bool WriteAll(int fd, const std::string& content) {
    size_t done = 0;
    while (done < content.size()) {
        ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno != EINTR) {
            return false;
        }
        done += n > 0 ? size_t(n) : 0;
    }
    return true;
}

// Up to limit + 1 bytes, so that a file grown past the limit is seen.
std::optional<std::string> ReadUpTo(int fd, size_t limit) {
    std::string bytes;
    char buffer[65536];
    while (bytes.size() <= limit) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) {
            return bytes;
        }
        if (n < 0 && errno != EINTR) {
            return std::nullopt;
        }
        bytes.append(buffer, size_t(std::max<ssize_t>(n, 0)));
    }
    return bytes;
}

// A temporary file that mkstemp made for this file: its name, the pattern's
// words and six letters or digits.
bool IsTemporaryOf(const std::string& name, const std::string& base) {
    std::string words(kTemporaryPattern, sizeof kTemporaryPattern - 7);
    size_t suffix = 6;
    if (name.size() != base.size() + words.size() + suffix || !name.starts_with(base) ||
        name.compare(base.size(), words.size(), words)) {
        return false;
    }
    return std::all_of(name.end() - std::ptrdiff_t(suffix), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

} // namespace

std::vector<std::string> TemporariesOf(const std::string& file) {
    std::filesystem::path target(NativePath(file));
    std::error_code error;
    std::string base = target.filename().string();
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(target.parent_path(), error)) {
        struct stat st {};
        std::string path = entry.path().string();
        if (IsTemporaryOf(entry.path().filename().string(), base) &&
            ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()) {
            found.push_back(AnsiFromNativePath(path));
        }
    }
    return found;
}

bool RemoveFile(const std::string& file) {
    return ::unlink(NativePath(file).c_str()) == 0;
}

void MakePrivateFolder(const std::string& folder) {
    std::filesystem::path missing;
    for (const auto& part : std::filesystem::path(NativePath(folder))) {
        missing /= part;
        ::mkdir(missing.c_str(), 0700); // fails, harmlessly, where one is there
    }
}

void KeepFolderPrivate(const std::string& folder) {
    struct stat st {};
    std::string native = NativePath(folder);
    if (::lstat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid()) {
        ::chmod(native.c_str(), 0700);
    }
}

namespace {

// After a rename, so that a power cut cannot bring the old file back.
void SyncFolder(const std::filesystem::path& target) {
    std::string folder = target.parent_path().string();
    Descriptor fd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY));
    if (fd.get() >= 0) {
        ::fsync(fd.get());
    }
}

// Writes the content into a new temporary file beside the target; its path,
// or the errno of the failure.
std::pair<std::string, int> WriteTemporary(const std::string& native, const std::string& content,
                                           mode_t mode) {
    std::string temporary = native + kTemporaryPattern;
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return {"", errno};
    }
    bool ok = WriteAll(fd, content) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
    }
    return {temporary, error};
}

} // namespace

namespace {

// The file opened for reading if it is a regular one: its descriptor and
// size; none when there is no such file.
Result<std::optional<std::pair<int, off_t>>> OpenRegular(const std::string& file) {
    // Non-blocking, so that opening a pipe never waits for a writer.
    int fd = ::open(NativePath(file).c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return std::optional<std::pair<int, off_t>>();
        }
        return Failure{ReadReasonOf(errno)};
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        int error = errno;
        bool regular = S_ISREG(st.st_mode);
        ::close(fd);
        return Failure{regular ? ReadReasonOf(error) : FileFailureText(FileFailure::NotRegular)};
    }
    return std::optional(std::pair(fd, st.st_size));
}

} // namespace

Result<FileBytes> ReadRegularFile(const std::string& file, size_t limit) {
    auto opened = OpenRegular(file);
    if (!opened || !*opened) {
        return opened ? Result<FileBytes>(FileBytes()) : Failure{opened.Reason()};
    }
    Descriptor fd((*opened)->first);
    if ((*opened)->second < 0 || std::cmp_greater((*opened)->second, limit)) {
        return Failure{FileFailureText(FileFailure::TooLarge, limit)};
    }
    std::optional<std::string> bytes = ReadUpTo(fd.get(), limit);
    if (!bytes) {
        return Failure{ReadReasonOf(errno)};
    }
    if (bytes->size() > limit) {
        return Failure{FileFailureText(FileFailure::TooLarge, limit)};
    }
    return FileBytes(std::move(bytes));
}

Result<FileBytes> ReadRegularFileEnd(const std::string& file, size_t limit) {
    auto opened = OpenRegular(file);
    if (!opened || !*opened) {
        return opened ? Result<FileBytes>(FileBytes()) : Failure{opened.Reason()};
    }
    Descriptor fd((*opened)->first);
    off_t size = (*opened)->second;
    if (std::cmp_greater(size, limit) && ::lseek(fd.get(), size - off_t(limit), SEEK_SET) < 0) {
        return Failure{ReadReasonOf(errno)};
    }
    std::optional<std::string> bytes = ReadUpTo(fd.get(), limit);
    if (!bytes) {
        return Failure{ReadReasonOf(errno)};
    }
    bytes->resize(std::min(bytes->size(), limit));
    return FileBytes(std::move(bytes));
}

Result<> ReplaceFileContent(const std::string& file, const std::string& content) {
    std::string native = NativePath(file);
    struct stat old {};
    bool exists = ::lstat(native.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        return Failure{WriteReasonOf(EISDIR)};
    }
    // Checked by mode rather than access(): a read-only mark holds for root too.
    if (exists && S_ISREG(old.st_mode) && (old.st_mode & S_IWUSR) == 0) {
        return Failure{FileFailureText(FileFailure::ReadOnlyFile)};
    }
    // Private to the user whatever the old file was: it holds ID numbers.
    auto [temporary, error] = WriteTemporary(native, content, S_IRUSR | S_IWUSR);
    if (error != 0) {
        return Failure{WriteReasonOf(error)};
    }
    if (::rename(temporary.c_str(), native.c_str()) != 0) {
        error = errno;
        ::unlink(temporary.c_str());
        return Failure{WriteReasonOf(error)};
    }
    SyncFolder(native);
    return {};
}

} // namespace orvane
