#include "window/fatal_error.h"

#include "text/ansi_literals.h"
#include "window/message_box.h"

#include <cstdio>
#include <windows.h>

namespace orvane {

void ReportFatalError(const std::string& text) {
    std::fputs((text + "\n").c_str(), stderr);
    ShowMessageBox({.text = text, .caption = "错误", .kind = MessageKind::Error});
    PostQuitMessage(kFatalExitCode); // ends a box's loop too, which passes it on
}

} // namespace orvane
