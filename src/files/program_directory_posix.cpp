#include "program_directory.h"

#include "native_path.h"
#include "text/ansi_literals.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace orvane {

namespace {

bool InGroup(gid_t group) {
    if (group == ::getegid()) {
        return true;
    }
    std::vector<gid_t> groups(size_t(std::max(0, ::getgroups(0, nullptr))));
    int count = ::getgroups(int(groups.size()), groups.data());
    groups.resize(size_t(std::max(0, count)));
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}

// Whether the mode lets the user read (or write) a file or folder of the
// kind. Read from the mode, as root too: root can write in any folder,
// which does not make a system folder its own, nor another user's file its.
bool AllowedForUser(const std::string& path, bool folder, bool write) {
    struct stat st {};
    if (::stat(NativePath(path).c_str(), &st) != 0 ||
        (folder ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode))) {
        return false;
    }
    mode_t user = write ? S_IWUSR : S_IRUSR;
    mode_t group = write ? S_IWGRP : S_IRGRP;
    mode_t other = write ? S_IWOTH : S_IROTH;
    if (st.st_uid == ::geteuid()) {
        return (st.st_mode & user) != 0;
    }
    return (st.st_mode & (InGroup(st.st_gid) ? group : other)) != 0;
}

// The system's program folders, where a package puts the program for all.
bool SystemProgramFolder(const std::string& folder) {
    constexpr std::array<std::string_view, 5> kSystem = {"/usr", "/bin", "/sbin", "/opt", "/snap"};
    return std::ranges::any_of(kSystem, [&folder](std::string_view system) {
        return folder == system || folder.starts_with(std::string(system) + "/");
    });
}

// $XDG_DATA_HOME, or ~/.local/share; a relative one counts as unset.
std::string UserDataHome() {
    const char* named = std::getenv("XDG_DATA_HOME");
    if (named != nullptr && named[0] == '/') {
        return named;
    }
    const char* home = std::getenv("HOME");
    const passwd* user = home == nullptr ? ::getpwuid(::geteuid()) : nullptr;
    return std::string(home != nullptr   ? home
                       : user != nullptr ? user->pw_dir
                                         : "/") +
           "/.local/share";
}

bool WritableForUser(const std::string& folder) {
    return AllowedForUser(folder, true, true);
}

} // namespace

std::string ProgramPath() {
    std::error_code error;
    return AnsiOf(std::filesystem::read_symlink("/proc/self/exe", error));
}

std::string ProgramDirectory() {
    return AnsiOf(PathOf(ProgramPath()).parent_path());
}

std::string DataDirectory(const std::string& fileName) {
    return DataFolderFor(ProgramDirectory(), fileName).folder;
}

DataFolder DataFolderFor(const std::string& programDirectory, const std::string& fileName) {
    std::string own = AnsiFromNativePath(UserDataHome()) + "/orvane";
    if (SystemProgramFolder(programDirectory)) {
        return {own, {}};
    }
    std::string beside = programDirectory + "/" + fileName;
    std::error_code error;
    if (std::filesystem::symlink_status(PathOf(beside), error).type() !=
        std::filesystem::file_type::not_found) {
        if (AllowedForUser(beside, false, false)) {
            return {programDirectory, {}};
        }
        return {own,
                "程序旁边的" + fileName + "不是您能读取的文件，已改用 " + own + " 里的：" + beside};
    }
    return {WritableForUser(programDirectory) ? programDirectory : own, {}};
}

} // namespace orvane
