// build/orvane: the program with the Qt desktop.
#include "ansi.h"
#include "app/command_line.h"
#include "app/practice_form.h"
#include "app/start.h"
#include "desktop_look.h"
#include "desktop_scale.h"
#include "main_window.h"
#include "single_copy.h"
#include "storage/information_file.h"
#include "text/ansi_literals.h"
#include "window/fatal_error.h"

#include <QApplication>
#include <QPixmap>
#include <cstdio>
#include <memory>
#include <optional>

namespace orvane {

namespace {

Result<StartOptions> ReadArguments() {
    std::vector<std::string> words;
    for (const QString& argument : QApplication::arguments().mid(1)) {
        words.push_back(ToAnsi(argument));
    }
    return ReadCommandLine(words, true);
}

int Main(int argc, char** argv) {
    TakeOverScaling();
    QApplication app(argc, argv);
    Result<StartOptions> command = ReadArguments();
    if (!command) {
        std::fputs(ToUnicode(command.Reason() + "\n").toLocal8Bit().constData(), stderr);
        return 2;
    }
    ApplyDesktopLook(app);
    if (command->practice) {
        return RunPracticeProcess<MainWindow>(*command->practice);
    }
    std::optional<SingleCopy> copy;
    if (!command->screenshot) {
        copy.emplace(InformationFilePath());
        if (copy->OtherCopyRuns()) {
            return 0; // its window shows instead
        }
    }
    std::unique_ptr<MainWindow> window = CreateMainWindow<MainWindow>();
    if (!window) {
        return kFatalExitCode;
    }
    // --screenshot FILE: render the window to a PNG without showing it.
    if (command->screenshot) {
        return window->grab().save(ToUnicode(*command->screenshot), "PNG") ? 0 : 1;
    }
    copy->ShowOnRequest(window.get());
    return RunProgram(*window, command->timeUrl);
}

} // namespace

} // namespace orvane

// A failure before the window's loop is told as one inside it is.
int main(int argc, char** argv) {
    int code = orvane::kFatalExitCode;
    orvane::RunGuarded([&] { code = orvane::Main(argc, argv); });
    return code;
}
