#include "start.h"

#include "event_bindings.h"
#include "handlers/clock_display.h"
#include "handlers/countdown_settings.h"
#include "handlers/hot_key_typing.h"
#include "handlers/rehearsal.h"
#include "nettime/time_sources.h"
#include "transport/transport_global.h"
#include "window/global_typing.h"
#include "window/window.h"
#include "work_queues.h"

namespace orvane {

int RunProgram(Window& window, const std::optional<std::string>& timeUrl) {
    TransportGlobal transport;
    ClockDisplay clock(window, timeUrl.value_or(kTimeServicePageUrl));
    CountdownSettings countdown(window, clock, FileQueue(), InformationFilePath(), timeUrl);
    HotKeyTyping typing(window, FileQueue(), countdown.File(), OpenKeyboard(window));
    Rehearsal rehearsal(window, clock, typing, FileQueue());
    std::shared_ptr<const void> bound =
        InstallBindings(window, EventBindings(clock, countdown, typing, rehearsal));
    window.FinishCreation();
    int code = kFatalExitCode;
    if (!FatalErrorReported()) {
        window.ShowCentered();
        code = window.RunMessageLoop();
    }
    clock.Stop();
    DrainWorkQueues();
    return FatalErrorReported() ? kFatalExitCode : code;
}

} // namespace orvane
