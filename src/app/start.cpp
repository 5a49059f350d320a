#include "start.h"

#include "event_bindings.h"
#include "handlers/assist.h"
#include "handlers/clock_display.h"
#include "handlers/hot_key_typing.h"
#include "transport/transport_global.h"
#include "window/global_typing.h"
#include "window/window.h"
#include "work_queues.h"

namespace orvane {

int RunProgram(Window& window, const std::string& timeUrl) {
    TransportGlobal transport;
    ClockDisplay clock(window, timeUrl);
    Assist assist(window, clock, FileQueue());
    HotKeyTyping typing(window, FileQueue(), assist.File(), OpenKeyboard(window));
    InstallBindings(window, EventBindings(clock, assist, typing));
    window.FinishCreation();
    window.ShowCentered();
    int code = window.RunMessageLoop();
    clock.Stop();
    DrainWorkQueues();
    return code;
}

} // namespace orvane
