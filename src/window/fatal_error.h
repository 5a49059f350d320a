#pragma once

#include <functional>
#include <string>

namespace orvane {

// What stopped the run, as the box's "错误代码" line gives it: a user asking
// for help can quote it, and it tells the three apart where the message is
// a library's.
enum class FatalCode {
    WindowNotBuilt = 1,
    OutOfMemory = 2,
    HandlerFailed = 3, // a handler or an answer of its slow work threw
};

// The text of the fatal-error box: "运行时出错!", the error code line and the
// message line.
std::string FatalErrorText(const std::string& message, FatalCode code);

// The exit code of a run that ended in a fatal error.
inline constexpr int kFatalExitCode = -1;

// Reports a condition the program cannot go on from: in the failure log, on
// standard error and in a box captioned "错误". Then the run stops: no
// handler runs after it, the window's message loop ends with
// kFatalExitCode, and the start routine, which still finishes the saves
// under way, returns it. Only the first report is shown.
void FatalError(const std::string& message, FatalCode code);

// Whether FatalError has stopped the run.
bool FatalErrorReported();

// The desktop's part of FatalError: standard error, the box, and the end of
// the message loop with kFatalExitCode.
void ReportFatalError(const std::string& text);

// The report of a main window that cannot be built.
extern const std::string kWindowNotBuilt;

// Runs a handler, or the answer of its slow work; one that throws stops the
// run through FatalError rather than leaving the window half-updated. Once
// the run has stopped, nothing runs.
void RunGuarded(const std::function<void()>& handler);

} // namespace orvane
