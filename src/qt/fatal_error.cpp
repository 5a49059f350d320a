#include "window/fatal_error.h"

#include "ansi.h"
#include "text/ansi_literals.h"
#include "window/message_box.h"

#include <QApplication>
#include <cstdio>

namespace orvane {

void ReportFatalError(const std::string& text) {
    std::fputs(ToUnicode(text).toLocal8Bit().append('\n').constData(), stderr);
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        ShowMessageBox({.text = text, .caption = "错误", .kind = MessageKind::Error});
    }
    QCoreApplication::exit(kFatalExitCode); // every loop running, boxes' too
}

} // namespace orvane
