#include "window/fatal_error.h"
#include "text/ansi_literals.h"
#include "window/message_box.h"

#include <cstdio>
#include <cstdlib>

namespace orvane {

void FatalError(const std::string& message, std::optional<int> code) {
    std::string text = FatalErrorText(message, code);
    std::fputs((text + "\n").c_str(), stderr);
    ShowMessageBox({.text = text, .caption = "错误", .kind = MessageKind::Error});
    std::exit(-1);
}

} // namespace orvane
