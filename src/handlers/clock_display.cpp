#include "clock_display.h"

#include "http/url_text.h"
#include "nettime/net_clock.h"
#include "text/ansi_literals.h"
#include "window/beep.h"
#include "window/component_names.h"
#include "window/window.h"
#include "window/window_thread.h"

#include <cmath>
#include <utility>

namespace orvane {

ClockDisplay::ClockDisplay(Window& window, std::string url)
    : window_(window), url_(std::move(url)) {}

ClockDisplay::~ClockDisplay() = default;

void ClockDisplay::Start() {
    if (window_.GetInterval(kTicker) != 0) {
        Tick();
    }
}

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

void ClockDisplay::Follow(std::string url) {
    if (url == url_) {
        return;
    }
    url_ = std::move(url);
    clock_.reset(); // the next tick asks the new server
    shot_.Renew();
}

void ClockDisplay::FollowSwitch() {
    if (window_.GetInterval(kTicker) == 0) {
        window_.SetStatusPanelText(kStatusBar, kTimePanel, "     底部时间已停止");
        window_.SetStatusPanelTip(
            kStatusBar, kTimePanel,
            "点“停止/恢复 底部时间”恢复；停止时不取时间，不倒数，也不响提示音。");
    } else if (Running()) {
        Show();
        Arm();
    }
}

bool ClockDisplay::Running() const {
    return clock_ && window_.GetInterval(kTicker) != 0;
}

void ClockDisplay::SetOpening(std::optional<OpeningTime> time) {
    opening_ = time;
    countdown_.Set(time);
    if (Running()) {
        Show();
    }
}

void ClockDisplay::Show() {
    window_.SetStatusPanelText(kStatusBar, kTimePanel, CountedDown(clock_->PanelText()));
    window_.SetStatusPanelTip(kStatusBar, kTimePanel, clock_->PanelTip());
}

// The countdown in place of the time while the opening lies ahead, and the
// alarm at the seconds before it; on the server's second that the time
// would show. Without an estimate there is nothing to count on.
std::string ClockDisplay::CountedDown(std::string text) {
    std::optional<std::int64_t> second = clock_->LastShownSecond();
    if (!second) {
        return text;
    }
    std::chrono::sys_seconds shown{std::chrono::seconds(*second)};
    Countdown& counting = practiceOpened_ ? practice_ : countdown_;
    Countdown::Turn turn = counting.At(shown, clock_->Estimate().UncertaintyAt(NetClock::Now()));
    if (practiceOpened_ && shown >= practiceAt_) {
        std::exchange(practiceOpened_, nullptr)();
    }
    if (turn.alarm != Alarm::None && sound_) {
        PlayBeep(turn.alarm == Alarm::Opening ? BeepSound::Opening : BeepSound::Second);
    }
    if (turn.attention) {
        window_.RequestAttention();
    }
    return turn.text.value_or(std::move(text));
}

std::optional<std::chrono::seconds> ClockDisplay::FromOpening() const {
    std::optional<std::int64_t> second = clock_ ? clock_->LastShownSecond() : std::nullopt;
    if (!second || !opening_) {
        return std::nullopt;
    }
    return FromNearestOpening(std::chrono::sys_seconds(std::chrono::seconds(*second)), *opening_);
}

bool ClockDisplay::CountToPractice(std::chrono::seconds after, std::function<void()> opened) {
    std::optional<std::int64_t> second = clock_ ? clock_->LastShownSecond() : std::nullopt;
    if (!Running() || !second) {
        return false;
    }
    practiceAt_ = std::chrono::sys_seconds(std::chrono::seconds(*second)) + after;
    practice_.SetPractice(practiceAt_);
    practiceOpened_ = std::move(opened);
    Show();
    return true;
}

void ClockDisplay::EndPractice() {
    practiceOpened_ = nullptr;
    if (Running()) {
        Show();
    }
}

std::string ClockDisplay::StateLine() const {
    std::string server = UrlForLog(url_);
    if (!clock_ || !clock_->LastShownSecond()) {
        return "时钟：还没有取到 " + server + " 的时间";
    }
    Seconds uncertainty = clock_->Estimate().UncertaintyAt(NetClock::Now());
    if (!(uncertainty < std::chrono::hours(1))) {
        return "时钟：误差未知，以 " + server + " 为准";
    }
    auto bound = std::chrono::round<std::chrono::milliseconds>(uncertainty);
    return "时钟：误差在 ±" + std::to_string(bound.count()) + " 毫秒以内，以 " + server + " 为准";
}

// A precise single shot at the next server-second boundary, which shows the
// new second and aims the next one.
void ClockDisplay::Arm() {
    std::optional<MachineTime> next = clock_->NextChangeAt();
    if (!next) {
        return;
    }
    shot_.Renew();
    int delay = int(std::ceil(Seconds(*next - NetClock::Now()).count() * 1000));
    window_.RunAfter(delay, shot_.Bind([this] {
        if (Running()) {
            Show();
            Arm();
        }
    }));
}

// Answers come only while the clock lives, and the clock dies with this.
// The next lookup is queued at once: waiting for the tick could miss the
// moment it is aimed at.
void ClockDisplay::OnAnswer() {
    if (Running()) {
        clock_->Tick();
        Show();
        Arm();
    }
}

} // namespace orvane
