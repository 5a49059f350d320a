#include "beijing_clock.h"

#include "component_names.h"
#include "main_window.h"
#include "net_clock.h"
#include "time_sources.h"
#include "window_thread.h"

#include <QPointer>
#include <cmath>
#include <memory>

namespace {

struct Display {
    std::string url = kTimeServicePageUrl;
    std::unique_ptr<NetClock> clock;
    QPointer<MainWindow> window;
    int generation = 0; // only the latest armed single shot shows
};

Display& State() {
    static Display display;
    return display;
}

bool Running(MainWindow& window) {
    return window.GetInterval(kClock) != 0;
}

void Show(MainWindow& window) {
    const NetClock& clock = *State().clock;
    window.SetStatusPanelText(kStatusBar, 0, clock.PanelText());
    window.SetStatusPanelTip(kStatusBar, 0, clock.PanelTip());
}

// A precise single shot at the next server-second boundary, which shows the
// new second and aims the next one.
void ArmDisplay(MainWindow& window) {
    Display& state = State();
    std::optional<Seconds> next = state.clock->NextChangeAt();
    if (!next) {
        return;
    }
    int generation = ++state.generation;
    int delay = int(std::ceil((*next - NetClock::Now()) * 1000));
    window.RunAfter(delay, [&window, generation] {
        if (generation == State().generation && State().clock && Running(window)) {
            Show(window);
            ArmDisplay(window);
        }
    });
}

void OnAnswer() {
    Display& state = State();
    if (state.window && Running(*state.window)) {
        Show(*state.window);
        ArmDisplay(*state.window);
    }
}

} // namespace

void SetTimeSource(const std::string& url) {
    State().url = url;
}

void ShowBeijingTime(MainWindow& window) {
    Display& state = State();
    if (!state.clock) {
        state.clock = std::make_unique<NetClock>(state.url, PostToWindowThread, OnAnswer);
    }
    state.window = &window;
    state.clock->Tick();
    Show(window);
    ArmDisplay(window);
}

void StopTimeLookups() {
    State().clock.reset();
}
