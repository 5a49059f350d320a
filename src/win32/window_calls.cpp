#include "window/window_calls.h"

#include <windows.h>

namespace orvane {

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

} // namespace orvane
