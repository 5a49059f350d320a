#include "window_options.h"

#include "window/component_names.h"
#include "window/window.h"
#include "window/window_calls.h"

namespace orvane {

void OnTopmostClicked(Window& window) {
    bool ticked = window.GetTicked(kTopmostBox);
    SetWindowTopmost(window.WindowHandle(kMainWindow), ticked);
}

void SetWindowTopmost(std::uintptr_t handle, bool on) {
    if (on) {
        SetForegroundWindow(handle);
    }
    SetWindowPos(handle, on ? kHwndTopmost : kHwndNotTopmost, 0, 0, 0, 0, kSwpNoSize | kSwpNoMove);
}

void OnTimeDisplayToggleClicked(Window& window) {
    bool running = window.GetInterval(kClock) == kClockInterval;
    window.SetInterval(kClock, running ? 0 : kClockInterval);
}

} // namespace orvane
