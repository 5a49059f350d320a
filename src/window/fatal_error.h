#pragma once

#include <functional>
#include <optional>
#include <string>

namespace orvane {

// The text of the fatal-error box: "运行时出错!", the error code line and the
// message line.
std::string FatalErrorText(const std::string& message, std::optional<int> code);

// The exit code of a run that ended in a fatal error.
inline constexpr int kFatalExitCode = -1;

// Reports a condition the program cannot go on from: in the failure log, on
// standard error and in a box captioned "错误". Then the run stops: no
// handler runs after it, the window's message loop ends with
// kFatalExitCode, and the start routine, which still finishes the saves
// under way, returns it. Only the first report is shown.
void FatalError(const std::string& message, std::optional<int> code = std::nullopt);

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
