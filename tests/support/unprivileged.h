#pragma once

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace orvane {

// The user id of "nobody", who owns nothing the tests make.
inline constexpr uid_t kNobody = 65534;

// Runs the check as an ordinary user: in this process when the tests run as
// one, else in a child process that has given up root (root reads every
// file, so an unreadable file can only be tried without it). True when the
// check held.
inline bool AsOrdinaryUser(const std::function<bool()>& check) {
    if (::geteuid() != 0) {
        return check();
    }
    pid_t child = ::fork();
    if (child == 0) {
        bool dropped = ::setresgid(kNobody, kNobody, kNobody) == 0 &&
                       ::setresuid(kNobody, kNobody, kNobody) == 0;
        ::_exit(dropped && check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace orvane
