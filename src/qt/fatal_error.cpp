#include "window/fatal_error.h"

#include "ansi.h"
#include "text/ansi_literals.h"
#include "window/message_box.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace orvane {

void FatalError(const std::string& message, std::optional<int> code) {
    std::string text = FatalErrorText(message, code);
    std::fputs(ToUnicode(text).toLocal8Bit().append('\n').constData(), stderr);
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        ShowMessageBox({.text = text, .caption = "错误", .kind = MessageKind::Error});
    }
    std::exit(-1);
}

} // namespace orvane
