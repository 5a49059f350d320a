#include "ansi.h"
#include "ansi_literals.h"
#include "beijing_clock.h"
#include "desktop_look.h"
#include "event_bindings.h"
#include "fatal_error.h"
#include "field_tools.h"
#include "http_global.h"
#include "main_window.h"
#include "work_queues.h"

#include <QApplication>
#include <QPixmap>
#include <memory>

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

} // namespace

int main(int argc, char** argv) {
    HttpGlobal http;
    QApplication app(argc, argv);
    ApplyDesktopLook(app);
    std::unique_ptr<MainWindow> window = CreateMainWindow();
    InstallBindings(*window, EventBindings());
    InstallFieldTools(*window);

    // --screenshot FILE: render the window to a PNG without showing it.
    QString screenshot = OptionValue(QApplication::arguments(), QStringLiteral("--screenshot"));
    if (!screenshot.isEmpty()) {
        return window->grab().save(screenshot, "PNG") ? 0 : 1;
    }
    // --time-url URL: the server whose clock the status bar shows.
    QString timeUrl = OptionValue(QApplication::arguments(), QStringLiteral("--time-url"));
    if (!timeUrl.isEmpty()) {
        SetTimeSource(ToAnsi(timeUrl));
    }
    window->FinishCreation();
    window->CenterOnScreen();
    window->show();
    int code = QApplication::exec();
    StopTimeLookups();
    DrainWorkQueues(); // a save still under way is finished first
    return code;
}
