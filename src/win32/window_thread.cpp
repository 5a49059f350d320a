// The window's thread, reached through a message-only window.
#include "window/window_thread.h"
#include "task_window.h"
#include "window/fatal_error.h"

#include <memory>

namespace orvane {

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
                RunGuarded(*task);
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

} // namespace orvane
