#pragma once

#include "runtime/result.h"
#include "runtime/work_queue.h"

#include <chrono>
#include <cstddef>
#include <string>

namespace orvane {

// A log of the failures the program met, for a user to send when asking
// for help: "故障记录.txt" beside 信息.ini, a line each, the Beijing time and
// what failed in the user's words; UTF-8, so that any editor shows it.
// Callers never put an applicant's data or a password in a line. A failure
// that repeats the one before is counted on one line below it, so that the
// log holds days. The file stays within kFailureLogLimit bytes: past it,
// its oldest lines go.
inline constexpr std::size_t kFailureLogLimit = std::size_t{64} * 1024;
// A longer line is cut here.
inline constexpr std::size_t kFailureLineLimit = 1024;

// The log's path beside the file.
std::string FailureLogBeside(const std::string& file);

// The log LogFailure writes to from now on; until the program names one,
// failures go unlogged.
void SetFailureLog(std::string file);

// Adds the line to the log, making its folder if no save has yet. It waits
// for the disk: the window's thread calls it only while the window is built
// and on the way out, and hands other lines to a work queue. A log that
// cannot be written is let be: it must never add a failure of its own.
void LogFailure(const std::string& what);
// The same on the queue's thread.
void LogFailureOn(WorkQueue& queue, std::string what);

// The result, its failure logged as "what：reason".
template <class T> Result<T> Logged(Result<T> result, const std::string& what) {
    if (!result) {
        LogFailure(what + "：" + result.Reason());
    }
    return result;
}

// The log's new bytes: `old` (the file's end, or empty) with the line for
// `what` at `when` added, or counted on the line after the same one, and
// the oldest lines dropped to stay within the limit: whole lines, the
// first of an end cut at the limit too.
std::string WithFailureLine(const std::string& old, const std::string& what,
                            std::chrono::system_clock::time_point when);

} // namespace orvane
