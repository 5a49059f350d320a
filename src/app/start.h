#pragma once

#include "files/failure_log.h"
#include "storage/information_file.h"
#include "window/fatal_error.h"

#include <exception>
#include <memory>
#include <optional>
#include <string>

namespace orvane {

class Window;

// The program's run in the desktop's window, once that is built: binds every
// handler, finishes creation (the greeting, the remember decision), shows the
// window and runs it until it is closed; then ends the time lookups and
// finishes the work still queued, so that a save under way is never cut
// off. `timeUrl`, when the command line gave one, names the server whose
// clock the status bar shows in this run, before the one the 配置 page
// keeps. Returns the exit code: kFatalExitCode after a fatal error.
int RunProgram(Window& window, const std::optional<std::string>& timeUrl);

// The desktop's window (the main window, or the one described), built,
// with failures logged from here on; none,
// reported through FatalError ("载入启动窗口失败"), when it cannot be built.
template <class DesktopWindow, class... Description>
std::unique_ptr<DesktopWindow> CreateMainWindow(const Description&... description) {
    SetFailureLog(FailureLogBeside(InformationFilePath()));
    if (std::string passed = InformationFilePassedOver(); !passed.empty()) {
        LogFailure(passed);
    }
    try {
        return std::make_unique<DesktopWindow>(description...);
    } catch (const std::exception&) {
        FatalError(kWindowNotBuilt, FatalCode::WindowNotBuilt);
        return nullptr;
    }
}

} // namespace orvane
