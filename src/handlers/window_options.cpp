#include "window_options.h"

#include "window/component_names.h"
#include "window/window.h"

namespace orvane {

void OnTopmostClicked(Window& window) {
    window.KeepAbove(window.GetTicked(kTopmostBox));
}

void OnTimeDisplayToggleClicked(Window& window) {
    bool running = window.GetInterval(kTicker) == kTickerInterval;
    window.SetInterval(kTicker, running ? 0 : kTickerInterval);
}

} // namespace orvane
