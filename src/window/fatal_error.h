#pragma once

#include <functional>
#include <optional>
#include <string>

namespace orvane {

// The text of the fatal-error box: "运行时出错!", the error code line and the
// message line.
std::string FatalErrorText(const std::string& message, std::optional<int> code);

// Reports a condition the program cannot go on from, in a box captioned
// "错误" and on standard error, then ends the process with exit code -1.
[[noreturn]] void FatalError(const std::string& message, std::optional<int> code = std::nullopt);

// The report of a main window that cannot be built.
extern const std::string kWindowNotBuilt;

// Runs a handler, or the answer of its slow work; one that throws ends the
// program through FatalError rather than leaving the window half-updated.
void RunGuarded(const std::function<void()>& handler);

} // namespace orvane
