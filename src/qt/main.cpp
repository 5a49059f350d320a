// build/orvane: the program with the Qt desktop.
#include "ansi.h"
#include "app/start.h"
#include "desktop_look.h"
#include "main_window.h"
#include "nettime/time_sources.h"
#include "runtime/ansi_literals.h"
#include "window/fatal_error.h"

#include <QApplication>
#include <QPixmap>
#include <memory>

namespace orvane {

namespace {

std::unique_ptr<MainWindow> CreateMainWindow() {
    try {
        return std::make_unique<MainWindow>();
    } catch (const std::exception&) {
        FatalError("载入启动窗口失败");
    }
}

// The value after an option such as --screenshot FILE; empty without one.
QString OptionValue(const QStringList& arguments, const QString& option) {
    qsizetype at = arguments.indexOf(option);
    return at > 0 && at + 1 < arguments.size() ? arguments[at + 1] : QString();
}

int Main(int argc, char** argv) {
    QApplication app(argc, argv);
    ApplyDesktopLook(app);
    std::unique_ptr<MainWindow> window = CreateMainWindow();
    QStringList arguments = QApplication::arguments();
    // --screenshot FILE: render the window to a PNG without showing it.
    QString screenshot = OptionValue(arguments, QStringLiteral("--screenshot"));
    if (!screenshot.isEmpty()) {
        return window->grab().save(screenshot, "PNG") ? 0 : 1;
    }
    // --time-url URL: the server whose clock the status bar shows.
    QString timeUrl = OptionValue(arguments, QStringLiteral("--time-url"));
    return RunProgram(*window, timeUrl.isEmpty() ? kTimeServicePageUrl : ToAnsi(timeUrl));
}

} // namespace

} // namespace orvane

int main(int argc, char** argv) {
    return orvane::Main(argc, argv);
}
