// orvane.exe: the program with the Windows desktop.
#include "app/command_line.h"
#include "app/practice_form.h"
#include "app/start.h"
#include "single_copy.h"
#include "storage/information_file.h"
#include "text/ansi_literals.h"
#include "text/wide_text.h"
#include "win32_window.h"
#include "window/fatal_error.h"
#include "window/message_box.h"

#include <cstdio>
#include <memory>
#include <shellapi.h>

namespace orvane {

namespace {

Result<StartOptions> ReadArguments() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> words;
    for (int i = 1; arguments != nullptr && i < count; ++i) {
        words.push_back(AnsiFromWide(arguments[i]));
    }
    LocalFree(reinterpret_cast<HLOCAL>(arguments));
    return ReadCommandLine(words, false);
}

// Without a console the message goes in a box too.
int Main() {
    Result<StartOptions> command = ReadArguments();
    if (!command) {
        std::fputs((command.Reason() + "\n").c_str(), stderr);
        ShowMessageBox({.text = command.Reason(), .caption = "Orvane", .kind = MessageKind::Error});
        return 2;
    }
    if (command->practice) {
        return RunPracticeProcess<Win32Window>(*command->practice);
    }
    SingleCopy copy(InformationFilePath());
    if (copy.OtherCopyRuns()) {
        return 0; // its window shows instead
    }
    std::unique_ptr<Win32Window> window = CreateMainWindow<Win32Window>();
    if (!window) {
        return kFatalExitCode;
    }
    return RunProgram(*window, command->timeUrl);
}

} // namespace

} // namespace orvane

// A failure before the window's loop is told as one inside it is.
int main() {
    int code = orvane::kFatalExitCode;
    orvane::RunGuarded([&] { code = orvane::Main(); });
    return code;
}
