#include "lookup_plan.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

constexpr Seconds kSpacing = 1;      // between any two requests
constexpr Seconds kBurstPeriod = 60; // from one refresh burst to the next
constexpr int kBurstLimit = 5;       // requests in one burst
constexpr Seconds kLongestWait = 60; // after failures

} // namespace

void LookupPlan::Sent(Seconds at) {
    if (resting_ || burstSent_ == 0) {
        resting_ = false;
        burstStart_ = at;
        burstSent_ = 0;
    }
    ++burstSent_;
    lastSent_ = at;
}

void LookupPlan::Answered(const ClockEstimator& clock, Seconds at) {
    failures_ = 0;
    if (clock.ConvergedAt(at)) {
        everConverged_ = true;
        Rest();
    } else if (everConverged_ && burstSent_ >= kBurstLimit) {
        Rest(); // keep the estimate as it is until the next burst
    }
}

void LookupPlan::Failed(Seconds at) {
    ++failures_;
    failedAt_ = at;
    if (everConverged_ && burstSent_ >= kBurstLimit) {
        Rest();
    }
}

Seconds LookupPlan::NextSendTime(const ClockEstimator& clock, Seconds now) const {
    Seconds earliest = std::max(now, lastSent_ + kSpacing);
    if (resting_) {
        earliest = std::max(earliest, restUntil_);
    }
    if (failures_ > 0) {
        Seconds wait = std::min(kLongestWait, std::pow(2.0, failures_ - 1));
        earliest = std::max(earliest, failedAt_ + wait);
    }
    return clock.AimedSendTime(earliest);
}

void LookupPlan::Rest() {
    resting_ = true;
    restUntil_ = burstStart_ + kBurstPeriod;
    burstSent_ = 0;
}

} // namespace orvane
