#pragma once

#include "app/event_bindings.h"
#include "app/work_queues.h"
#include "handlers/clock_display.h"
#include "handlers/countdown_settings.h"
#include "handlers/hot_key_typing.h"
#include "handlers/rehearsal.h"
#include "nettime/time_sources.h"
#include "storage/information_file.h"
#include "temp_folder.h"
#include "text/ansi_literals.h"

#include <optional>
#include <string>

namespace orvane {

// A port on 127.0.0.1 where nothing listens: the tests never ask a server
// beyond this machine for the time.
inline const std::string kNoTimeServer = "http://127.0.0.1:9/";

// The program's whole binding table installed on a window, as the start
// routine installs it. Declare it after the window it binds.
class ProgramBindings {
public:
    // `timeUrl`: the time server, as the command line names it; none: the
    // one the settings' file names, as the start routine finds it.
    // `keyboard`: what the hot key types through; none, as on a desktop
    // that allows no typing, unless given. `practice`: where 演练 opens its
    // form, and how long it counts down to the practice opening.
    explicit ProgramBindings(Window& window,
                             const std::optional<std::string>& timeUrl = kNoTimeServer,
                             std::unique_ptr<Keyboard> keyboard = nullptr,
                             PracticeStarter practice = PracticeProcess(),
                             std::chrono::seconds lead = Rehearsal::kLeadTime)
        : clock(window, timeUrl.value_or(kTimeServicePageUrl)),
          countdown(window, clock, FileQueue(), settings.Path("信息.ini"), timeUrl),
          typing(window, FileQueue(), countdown.File(), std::move(keyboard)),
          rehearsal(window, clock, typing, FileQueue(), std::move(practice), lead) {
        bound = InstallBindings(window, EventBindings(clock, countdown, typing, rehearsal));
    }
    ~ProgramBindings() { clock.Stop(); }

    // The 配置 page's settings as the settings' file holds them now.
    PageSettings Stored() const {
        return ReadInformationFile(countdown.File()).ValueOr({}).settings;
    }
    // Both settings started from the file, as the window's creation starts them.
    void StartSettings() {
        PageSettings settings = Stored();
        countdown.Start(settings);
        typing.Start(settings);
    }
    ProgramBindings(const ProgramBindings&) = delete;
    ProgramBindings& operator=(const ProgramBindings&) = delete;

    // The countdown's and typing's settings go to a file of their own, not
    // to the one the file tests look at.
    TempFolder settings;
    ClockDisplay clock;
    CountdownSettings countdown;
    HotKeyTyping typing;
    Rehearsal rehearsal;
    std::shared_ptr<const void> bound; // first to go: no handler outlives the parts above
};

} // namespace orvane
