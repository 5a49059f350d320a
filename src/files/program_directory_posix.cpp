#include "program_directory.h"

#include "native_path.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
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

// Whether the folder's mode lets the user write in it. Read from the mode,
// as root too: root can write in any folder, which does not make a system
// folder its own.
bool WritableForUser(const std::string& folder) {
    struct stat st {};
    if (::stat(NativePath(folder).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        return false;
    }
    if (st.st_uid == ::geteuid()) {
        return (st.st_mode & S_IWUSR) != 0;
    }
    return (st.st_mode & (InGroup(st.st_gid) ? S_IWGRP : S_IWOTH)) != 0;
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

} // namespace

std::string ProgramDirectory() {
    std::error_code error;
    return AnsiOf(std::filesystem::read_symlink("/proc/self/exe", error).parent_path());
}

std::string DataDirectory(const std::string& fileName) {
    return DataDirectoryFor(ProgramDirectory(), fileName);
}

std::string DataDirectoryFor(const std::string& programDirectory, const std::string& fileName) {
    std::error_code error;
    bool held = std::filesystem::exists(PathOf(programDirectory + "/" + fileName), error);
    if (held || WritableForUser(programDirectory)) {
        return programDirectory;
    }
    return AnsiFromNativePath(UserDataHome()) + "/orvane";
}

} // namespace orvane
