#pragma once

#include <string>

namespace orvane {

class Window;

// The program's run in the desktop's window, once that is built: binds every
// handler, finishes creation (the greeting, the remember decision), shows the
// window and runs it until it is closed; then ends the time lookups and
// finishes the work still queued, so that a save under way is never cut
// off. `timeUrl` names the server whose clock the status bar shows. Returns
// the exit code.
int RunProgram(Window& window, const std::string& timeUrl);

} // namespace orvane
