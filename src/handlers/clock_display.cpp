#include "clock_display.h"

#include "nettime/net_clock.h"
#include "window/component_names.h"
#include "window/window.h"
#include "window/window_thread.h"

#include <cmath>

namespace orvane {

ClockDisplay::ClockDisplay(Window& window, std::string url)
    : window_(window), url_(std::move(url)) {}

ClockDisplay::~ClockDisplay() = default;

void ClockDisplay::Tick() {
    if (!clock_) {
        clock_ = std::make_unique<NetClock>(url_, PostToWindowThread, [this] { OnAnswer(); });
    }
    clock_->Tick();
    Show();
    Arm();
}

void ClockDisplay::Stop() {
    clock_.reset();
}

bool ClockDisplay::Running() const {
    return clock_ && window_.GetInterval(kClock) != 0;
}

void ClockDisplay::Show() {
    window_.SetStatusPanelText(kStatusBar, 0, clock_->PanelText());
    window_.SetStatusPanelTip(kStatusBar, 0, clock_->PanelTip());
}

// A precise single shot at the next server-second boundary, which shows the
// new second and aims the next one.
void ClockDisplay::Arm() {
    std::optional<Seconds> next = clock_->NextChangeAt();
    if (!next) {
        return;
    }
    int generation = ++generation_;
    int delay = int(std::ceil((*next - NetClock::Now()) * 1000));
    std::weak_ptr<const int> alive = alive_;
    window_.RunAfter(delay, [this, alive, generation] {
        if (!alive.expired() && generation == generation_ && Running()) {
            Show();
            Arm();
        }
    });
}

// Answers come only while the clock lives, and the clock dies with this.
void ClockDisplay::OnAnswer() {
    if (Running()) {
        Show();
        Arm();
    }
}

} // namespace orvane
