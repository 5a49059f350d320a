// orvane.exe: the program with the Windows desktop.
#include "app/start.h"
#include "nettime/time_sources.h"
#include "runtime/ansi_literals.h"
#include "runtime/wide_text.h"
#include "win32_window.h"
#include "window/fatal_error.h"

#include <memory>
#include <shellapi.h>

namespace orvane {

namespace {

// --time-url URL: the server whose clock the status bar shows.
std::string TimeUrl() {
    std::string url = kTimeServicePageUrl;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; arguments != nullptr && i + 1 < count; ++i) {
        if (std::wstring(arguments[i]) == L"--time-url") {
            url = AnsiFromWide(arguments[i + 1]);
        }
    }
    LocalFree(arguments);
    return url;
}

std::unique_ptr<Win32Window> CreateMainWindow() {
    try {
        return std::make_unique<Win32Window>();
    } catch (const std::exception&) {
        FatalError("载入启动窗口失败");
    }
}

int Main() {
    std::unique_ptr<Win32Window> window = CreateMainWindow();
    return RunProgram(*window, TimeUrl());
}

} // namespace

} // namespace orvane

int main() {
    return orvane::Main();
}
