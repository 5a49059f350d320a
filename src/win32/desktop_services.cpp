// The desktop services that window/ declares, with the system's own calls.
#include "clipboard.h"
#include "fatal_error.h"
#include "message_box.h"
#include "task_window.h"
#include "wide_text.h"
#include "window_calls.h"
#include "window_thread.h"

#include "ansi_literals.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <windows.h>

namespace {

constexpr UINT kRunTask = WM_APP + 1;

} // namespace

// A message-only window that runs the tasks posted to the window's thread,
// also while a message box has its own loop. Made by the first call, which
// the window makes on its own thread.
HWND TaskWindow() {
    static HWND window = [] {
        WNDCLASSW type{};
        type.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM w, LPARAM l) -> LRESULT {
            if (message == kRunTask) {
                std::unique_ptr<std::function<void()>> task(
                    reinterpret_cast<std::function<void()>*>(l));
                (*task)();
                return 0;
            }
            return DefWindowProcW(hwnd, message, w, l);
        };
        type.hInstance = GetModuleHandleW(nullptr);
        type.lpszClassName = L"OrvaneTasks";
        RegisterClassW(&type);
        return CreateWindowExW(0, L"OrvaneTasks", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               type.hInstance, nullptr);
    }();
    return window;
}

namespace {

void SetSecretFormat(const wchar_t* name, DWORD value, bool withValue) {
    UINT format = RegisterClipboardFormatW(name);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof value);
    if (format == 0 || memory == nullptr) {
        return;
    }
    if (withValue) {
        *static_cast<DWORD*>(GlobalLock(memory)) = value;
        GlobalUnlock(memory);
    }
    SetClipboardData(format, memory);
}

} // namespace

void PostToWindowThread(std::function<void()> task) {
    auto* owned = new std::function<void()>(std::move(task));
    if (!PostMessageW(TaskWindow(), kRunTask, 0, reinterpret_cast<LPARAM>(owned))) {
        delete owned;
    }
}

void RunPostedTasks() {
    MSG message;
    while (PeekMessageW(&message, TaskWindow(), kRunTask, kRunTask, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

bool SetClipboardText(const std::string& text) {
    if (!OpenClipboard(nullptr)) {
        return false;
    }
    EmptyClipboard();
    std::wstring wide = WideFromAnsi(text);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
    if (memory != nullptr) {
        std::memcpy(GlobalLock(memory), wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(memory);
        SetClipboardData(CF_UNICODETEXT, memory);
    }
    // Kept out of clipboard history, cloud clipboard and clipboard monitors.
    SetSecretFormat(L"ExcludeClipboardContentFromMonitorProcessing", 0, false);
    SetSecretFormat(L"CanIncludeInClipboardHistory", 0, true);
    SetSecretFormat(L"CanUploadToCloudClipboard", 0, true);
    CloseClipboard();
    return memory != nullptr;
}

std::string GetClipboardText() {
    if (!OpenClipboard(nullptr)) {
        return {};
    }
    std::string text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = AnsiFromWide(static_cast<const wchar_t*>(GlobalLock(data)));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

int ShowMessageBox(const std::string& text, int code, const std::optional<std::string>& caption) {
    int answer =
        MessageBoxW(nullptr, WideFromAnsi(text).c_str(),
                    WideFromAnsi(caption.value_or("信息：")).c_str(), UINT(code) | MB_TASKMODAL);
    return answer > 0 ? answer - 1 : kResultCancel; // IDOK (1) is kResultOk (0), and so on
}

void FatalError(const std::string& message, std::optional<int> code) {
    std::string text = FatalErrorText(message, code);
    std::fputs((text + "\n").c_str(), stderr);
    ShowMessageBox(text, kBoxOk | kBoxIconError, std::string("错误"));
    std::exit(-1);
}

bool SetWindowPos(std::uintptr_t window, std::intptr_t insertAfter, int, int, int, int, unsigned) {
    HWND handle = reinterpret_cast<HWND>(window);
    if (!IsWindow(handle) || (insertAfter != kHwndTopmost && insertAfter != kHwndNotTopmost)) {
        return false;
    }
    return ::SetWindowPos(handle, reinterpret_cast<HWND>(insertAfter), 0, 0, 0, 0,
                          SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE) != 0;
}

bool SetForegroundWindow(std::uintptr_t window) {
    return ::SetForegroundWindow(reinterpret_cast<HWND>(window)) != 0;
}
