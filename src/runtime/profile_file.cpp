#include "profile_file.h"

#include "ansi.h"
#include "ansi_literals.h"
#include "profile_format.h"
#include "text.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string SkipLeadingControl(const std::string& text) {
    size_t at = 0;
    while (at < text.size() && static_cast<unsigned char>(text[at]) <= 0x20) {
        ++at;
    }
    return text.substr(at);
}

std::string WithoutTrailingSpaces(std::string text) {
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

// Cut to the limit without splitting a double-byte character.
std::string CutToLimit(const std::string& value) {
    size_t end = 0;
    while (end < value.size()) {
        size_t next = end + (IsLeadByte(value[end]) ? 2 : 1);
        if (next > kProfileValueLimit) {
            break;
        }
        end = next;
    }
    return value.substr(0, std::min(end, value.size()));
}

std::string ReasonOf(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return "没有写入该文件夹的权限";
    case ENOSPC:
    case EDQUOT:
        return "磁盘空间不足";
    case EROFS:
        return "磁盘是只读的";
    case ENOENT:
    case ENOTDIR:
        return "文件夹不存在";
    case EISDIR:
        return "同名的文件夹已存在";
    default:
        return "系统错误 " + std::to_string(error);
    }
}

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

} // namespace

std::optional<std::string> ReadProfileFile(const std::string& file) {
    std::ifstream in(NativePath(file), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string ReadProfileItem(const std::string& file, const std::string& section,
                            const std::string& key, const std::optional<std::string>& fallback) {
    std::string path = SkipLeadingControl(file);
    if (path.empty()) {
        return {};
    }
    return ProfileItemIn(ReadProfileFile(path), section, key, fallback);
}

std::string ProfileItemIn(const std::optional<std::string>& content, const std::string& section,
                          const std::string& key, const std::optional<std::string>& fallback) {
    std::string sectionName = SkipLeadingControl(section);
    std::string keyName = SkipLeadingControl(key);
    if (sectionName.empty() || keyName.empty()) {
        return {};
    }
    std::string otherwise = WithoutTrailingSpaces(fallback.value_or(std::string()));
    if (!content) {
        return CutToLimit(otherwise);
    }
    return CutToLimit(FindProfileValue(*content, sectionName, keyName).value_or(otherwise));
}

bool WriteProfileItem(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& value) {
    std::string content = ReadProfileFile(file).value_or(std::string());
    return !ReplaceFileContent(file, SetProfileValue(content, section, key, value));
}

std::optional<std::string> ReplaceFileContent(const std::string& file, const std::string& content) {
    std::string native = NativePath(file);
    struct stat old {};
    bool exists = ::stat(native.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        return ReasonOf(EISDIR);
    }
    // Checked by mode rather than access(): a read-only mark holds for root too.
    if (exists && (old.st_mode & S_IWUSR) == 0) {
        return std::string("文件是只读的");
    }
    std::string temporary = native + ".XXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return ReasonOf(errno);
    }
    mode_t mode = exists ? (old.st_mode & 07777) : (S_IRUSR | S_IWUSR);
    bool ok = WriteAll(fd, content) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.c_str(), native.c_str()) == 0) {
        return std::nullopt;
    }
    error = ok ? errno : error;
    ::unlink(temporary.c_str());
    return ReasonOf(error);
}
