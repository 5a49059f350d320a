#pragma once

#include "window/window.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orvane {

class CountdownSettings;
class ClockDisplay;
class HotKeyTyping;
class Rehearsal;

// Which handler answers which event of which component. Every handler of the
// program is a row here, so that every one runs under the same guard.
struct EventBinding {
    enum class Kind {
        Event,       // `event` of `component`
        ContextMenu, // an entry `caption` in the edit box's context menu
    };
    std::string component;
    Window::Event event = Window::Event::Click;
    std::function<void(Window&)> handler;
    Kind kind = Kind::Event;
    std::string caption;
};

// The program's table; the clock's tick goes to `clock`, the 配置 page's
// countdown settings to `countdown`, the hot key's typing to `typing`, 演练
// to `rehearsal`.
std::vector<EventBinding> EventBindings(ClockDisplay& clock, CountdownSettings& countdown,
                                        HotKeyTyping& typing, Rehearsal& rehearsal);

// Connects every binding. A handler that throws ends the program through
// FatalError rather than leaving the window half-updated. The handlers
// answer while the result lives: a window that outlives them (its closing
// takes the focus from a box, which confirms it) reaches none that is gone.
std::shared_ptr<const void> InstallBindings(Window& window,
                                            const std::vector<EventBinding>& bindings);

} // namespace orvane
