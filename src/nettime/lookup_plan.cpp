#include "lookup_plan.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace orvane {

namespace {

using namespace std::chrono_literals;

constexpr Seconds kSpacing = 500ms;     // between any two requests
constexpr double kBurst = 2;            // requests' worth of credit, earned at one a second
constexpr Seconds kRefreshPeriod = 13s; // between refreshes of a narrow estimate
constexpr size_t kPerMinute = 5;        // requests in any minute once narrow
constexpr Seconds kLongestWait = 60s;   // after failures
constexpr int kChecks = 7;              // of a narrow estimate before settling
constexpr Seconds kSettleWithin = 60s;  // then the polite rate holds regardless

} // namespace

void LookupPlan::Sent(MachineTime at) {
    if (recent_.empty() && !settled_ && checks_ == 0) {
        firstSentAt_ = at;
    }
    ++(settled_ ? refreshes_ : checks_);
    credit_ = CreditAt(at) - 1;
    creditAt_ = at;
    recent_.push_back(at);
    if (recent_.size() > kPerMinute) {
        recent_.pop_front();
    }
}

void LookupPlan::Answered(const ClockEstimator& clock, MachineTime at) {
    failures_ = 0;
    // Narrow enough to check the sides once the clocks found are within
    // 10 ms: lookups past them are witnesses from then on.
    bool converged = clock.ConvergedAt(at, 10ms);
    if (!converged || clock.Search()) {
        checks_ = 0; // checked again once narrow, found and still
    }
    if (!settled_ && ((converged && checks_ > kChecks && clock.Checked() && !clock.Search()) ||
                      at - firstSentAt_ >= kSettleWithin)) {
        settled_ = true;
        recent_.clear(); // the minute's share counts from here on
    }
    if (converged) {
        restUntil_ = at + kRefreshPeriod;
    }
}

void LookupPlan::Failed(MachineTime at) {
    ++failures_;
    failedAt_ = at;
}

MachineTime LookupPlan::NextSendTime(const ClockEstimator& clock, MachineTime now) const {
    MachineTime earliest = std::max(now, creditAt_ + Seconds{std::max(0.0, 1 - credit_)});
    if (!recent_.empty()) {
        earliest = std::max(earliest, recent_.back() + kSpacing);
    }
    if (settled_ && clock.ConvergedAt(now) && !clock.Search()) {
        earliest = std::max(earliest, restUntil_);
    }
    if (settled_ && recent_.size() == kPerMinute) {
        earliest = std::max(earliest, recent_.front() + 60s);
    }
    if (failures_ > 0) {
        Seconds wait = std::min(kLongestWait, Seconds{std::pow(2.0, failures_ - 1)});
        earliest = std::max(earliest, failedAt_ + wait);
    }
    return clock.AimedSendTime(earliest, clock.Search().value_or(NextProbe()));
}

// Credit for requests grows by one a second, up to a little saved: a
// request that waited for its aim leaves its time to the next one.
double LookupPlan::CreditAt(MachineTime at) const {
    return std::min(kBurst, credit_ + (at - creditAt_).count());
}

// Once narrow, the estimate is checked on both sides before the plan
// settles, until enough lookups on each side agree: a lookup at the middle,
// then two on each side, an odd round, so that each of two machines
// answering in turn meets every kind. Settled, the refreshes take turns
// between the middle and the sides, in an odd round for the same reason.
Probe LookupPlan::NextProbe() const {
    constexpr Probe kCheckTurns[] = {Probe::Centre, Probe::Ahead, Probe::Behind, Probe::Ahead,
                                     Probe::Behind};
    constexpr Probe kRefreshTurns[] = {Probe::Centre, Probe::Ahead, Probe::Centre, Probe::Behind,
                                       Probe::Centre};
    if (settled_) {
        return kRefreshTurns[refreshes_ % std::size(kRefreshTurns)];
    }
    return kCheckTurns[size_t(checks_) % std::size(kCheckTurns)];
}

} // namespace orvane
