#include "single_copy.h"

#include "text/wide_text.h"
#include "window_class.h"

#include <cstdint>
#include <cwchar>

namespace orvane {

namespace {

constexpr wchar_t kListenerClass[] = L"OrvaneCopy";
constexpr UINT kShowRequest = WM_APP + 1;

// The file's path, folded to one case as the file system does, hashed
// (FNV-1a), so that copies with files of their own run side by side.
std::wstring CopyName(const std::string& file) {
    std::wstring path = WideFromAnsi(file);
    CharLowerBuffW(path.data(), DWORD(path.size()));
    std::uint64_t hash = 14695981039346656037ULL;
    for (wchar_t unit : path) {
        hash = (hash ^ std::uint64_t(unit)) * 1099511628211ULL;
    }
    wchar_t name[32];
    std::swprintf(name, 32, L"Orvane-%016llx", static_cast<unsigned long long>(hash));
    return name;
}

// The copy's window in front: a box it shows (the greeting among them) or
// else its main window, the one of its thread's windows that takes input.
BOOL CALLBACK BringToFront(HWND window, LPARAM) {
    // A tooltip shown at the moment is no window to give the keyboard to.
    bool tool =
        (GetWindowLongPtrW(window, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE)) != 0;
    if (!IsWindowVisible(window) || !IsWindowEnabled(window) || tool) {
        return TRUE;
    }
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    SetForegroundWindow(window);
    return FALSE;
}

LRESULT CALLBACK Listen(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == kShowRequest) {
        EnumThreadWindows(GetCurrentThreadId(), BringToFront, 0);
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

} // namespace

SingleCopy::SingleCopy(const std::string& file) {
    std::wstring name = CopyName(file);
    mutex_ = CreateMutexW(nullptr, TRUE, (L"Local\\" + name).c_str());
    if (mutex_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        other_ = true;
        // The first copy may be between taking the mutex and making its
        // window: it is looked for a little while.
        for (int tries = 0; tries < 40; ++tries, Sleep(50)) {
            if (HWND running = FindWindowExW(HWND_MESSAGE, nullptr, kListenerClass, name.c_str())) {
                DWORD process = 0;
                GetWindowThreadProcessId(running, &process);
                // This start came from the user's hand; it may lend the
                // front to the copy that answers.
                AllowSetForegroundWindow(process);
                PostMessageW(running, kShowRequest, 0, 0);
                return;
            }
        }
        return;
    }
    RegisterWindowClass(kListenerClass, Listen);
    listener_ = CreateWindowExW(0, kListenerClass, name.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
}

SingleCopy::~SingleCopy() {
    if (listener_ != nullptr) {
        DestroyWindow(listener_);
    }
    if (mutex_ != nullptr) {
        CloseHandle(mutex_);
    }
}

} // namespace orvane
