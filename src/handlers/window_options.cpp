#include "window_options.h"

#include "window/component_names.h"
#include "window/window.h"

namespace orvane {

void OnTopmostClicked(Window& window) {
    window.KeepAbove(window.GetTicked(kTopmostBox));
}

void OnTimeDisplayToggleClicked(Window& window) {
    bool running = window.GetInterval(kClock) == kClockInterval;
    window.SetInterval(kClock, running ? 0 : kClockInterval);
}

} // namespace orvane
