// orvane.exe: the handlers with the Windows desktop.
#include "beijing_clock.h"
#include "event_bindings.h"
#include "fatal_error.h"
#include "field_tools.h"
#include "wide_text.h"
#include "win32_window.h"
#include "work_queues.h"

#include "ansi_literals.h"

#include <memory>
#include <shellapi.h>

namespace {

// --time-url URL: the server whose clock the status bar shows.
void ApplyTimeUrl() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; arguments != nullptr && i + 1 < count; ++i) {
        if (std::wstring(arguments[i]) == L"--time-url") {
            SetTimeSource(AnsiFromWide(arguments[i + 1]));
        }
    }
    LocalFree(arguments);
}

std::unique_ptr<Win32Window> CreateMainWindow() {
    try {
        return std::make_unique<Win32Window>();
    } catch (const std::exception&) {
        FatalError("载入启动窗口失败");
    }
}

} // namespace

int main() {
    std::unique_ptr<Win32Window> window = CreateMainWindow();
    InstallBindings(*window, EventBindings());
    InstallFieldTools(*window);
    ApplyTimeUrl();
    window->FinishCreation();
    window->ShowCentered();
    int code = window->RunMessageLoop();
    StopTimeLookups();
    DrainWorkQueues(); // a save still under way is finished first
    return code;
}
