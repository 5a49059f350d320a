#include "ansi_literals.h"
#include "desktop_look.h"
#include "event_bindings.h"
#include "fatal_error.h"
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

// orvane --screenshot FILE: render the window to a PNG without showing it.
QString ScreenshotPath(const QStringList& arguments) {
    qsizetype at = arguments.indexOf(QStringLiteral("--screenshot"));
    return at > 0 && at + 1 < arguments.size() ? arguments[at + 1] : QString();
}

} // namespace

int main(int argc, char** argv) {
    HttpGlobal http;
    QApplication app(argc, argv);
    ApplyDesktopLook(app);
    std::unique_ptr<MainWindow> window = CreateMainWindow();
    InstallBindings(*window, EventBindings());

    QString screenshot = ScreenshotPath(QApplication::arguments());
    if (!screenshot.isEmpty()) {
        return window->grab().save(screenshot, "PNG") ? 0 : 1;
    }
    window->FinishCreation();
    window->CenterOnScreen();
    window->show();
    int code = QApplication::exec();
    DrainWorkQueues(); // a save still under way is finished first
    return code;
}
