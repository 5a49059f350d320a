#include "lookup_plan.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

constexpr Seconds kSpacing = 1;        // between any two requests
constexpr Seconds kRefreshPeriod = 13; // between refreshes of a narrow estimate
constexpr size_t kPerMinute = 5;       // requests in any minute once narrow
constexpr Seconds kLongestWait = 60;   // after failures

} // namespace

void LookupPlan::Sent(Seconds at) {
    refreshes_ += everConverged_;
    recent_.push_back(at);
    if (recent_.size() > kPerMinute) {
        recent_.pop_front();
    }
}

void LookupPlan::Answered(const ClockEstimator& clock, Seconds at) {
    failures_ = 0;
    if (clock.ConvergedAt(at)) {
        if (!everConverged_) {
            recent_.clear(); // the minute's share counts from here on
        }
        everConverged_ = true;
        restUntil_ = at + kRefreshPeriod;
    }
}

void LookupPlan::Failed(Seconds at) {
    ++failures_;
    failedAt_ = at;
}

Seconds LookupPlan::NextSendTime(const ClockEstimator& clock, Seconds now) const {
    Seconds earliest = now;
    if (!recent_.empty()) {
        earliest = std::max(earliest, recent_.back() + kSpacing);
    }
    if (clock.ConvergedAt(now) && !clock.Search()) {
        earliest = std::max(earliest, restUntil_);
    }
    if (everConverged_ && recent_.size() == kPerMinute) {
        earliest = std::max(earliest, recent_.front() + 60);
    }
    if (failures_ > 0) {
        Seconds wait = std::min(kLongestWait, std::pow(2.0, failures_ - 1));
        earliest = std::max(earliest, failedAt_ + wait);
    }
    constexpr Probe kTurns[] = {Probe::Centre, Probe::Ahead, Probe::Centre, Probe::Behind,
                                Probe::Centre};
    Probe probe = clock.Search().value_or(everConverged_ ? kTurns[refreshes_ % 5] : Probe::Centre);
    return clock.AimedSendTime(earliest, probe);
}

} // namespace orvane
