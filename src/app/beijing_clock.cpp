#include "beijing_clock.h"

#include "component_names.h"
#include "net_clock.h"
#include "time_sources.h"
#include "window.h"
#include "window_thread.h"

#include <cmath>
#include <memory>

namespace {

struct Display {
    std::string url = kTimeServicePageUrl;
    std::unique_ptr<NetClock> clock;
    Window* window = nullptr;
    std::weak_ptr<const void> windowAlive;
    int generation = 0; // only the latest armed single shot shows
};

Display& State() {
    static Display display;
    return display;
}

bool Running(Window& window) {
    return window.GetInterval(kClock) != 0;
}

void Show(Window& window) {
    const NetClock& clock = *State().clock;
    window.SetStatusPanelText(kStatusBar, 0, clock.PanelText());
    window.SetStatusPanelTip(kStatusBar, 0, clock.PanelTip());
}

// A precise single shot at the next server-second boundary, which shows the
// new second and aims the next one.
void ArmDisplay(Window& window) {
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
    if (!state.windowAlive.expired() && Running(*state.window)) {
        Show(*state.window);
        ArmDisplay(*state.window);
    }
}

} // namespace

void SetTimeSource(const std::string& url) {
    State().url = url;
    State().clock.reset(); // lookups start over with the next tick
}

void ShowBeijingTime(Window& window) {
    Display& state = State();
    if (!state.clock) {
        state.clock = std::make_unique<NetClock>(state.url, PostToWindowThread, OnAnswer);
    }
    state.window = &window;
    state.windowAlive = window.Lifetime();
    state.clock->Tick();
    Show(window);
    ArmDisplay(window);
}

void StopTimeLookups() {
    State().clock.reset();
}
