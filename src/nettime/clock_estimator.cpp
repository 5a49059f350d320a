#include "clock_estimator.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

// How fast two clocks may drift apart: 100 parts per million, far more than
// any working quartz clock.
constexpr double kDrift = 1e-4;
// Within 5 ms either way: the display changes its second within that.
constexpr Seconds kConvergedWidth = 0.010;

} // namespace

void ClockEstimator::AddAnswer(Seconds sentAt, Seconds receivedAt, std::int64_t serverSecond) {
    auto date = Seconds(serverSecond);
    Seconds middle = (sentAt + receivedAt) / 2;
    Interval certain{date - receivedAt, date + 1 - sentAt};
    Interval likely{date - middle, date + 1 - middle};
    if (!hasEstimate_) {
        certain_ = certain;
        likely_ = likely;
    } else {
        certain_ = Aged(certain_, receivedAt);
        likely_ = Aged(likely_, receivedAt);
        Merge(certain, likely);
    }
    hasEstimate_ = true;
    updatedAt_ = receivedAt;
    roundTrip_ = receivedAt - sentAt;
}

// Narrows both intervals by a new answer's; a contradiction starts over.
void ClockEstimator::Merge(Interval certain, Interval likely) {
    Interval both = Intersect(certain_, certain);
    if (both.Empty()) {
        ++restarts_;
        certain_ = certain;
        likely_ = likely;
        return;
    }
    certain_ = both;
    for (Interval candidate :
         {Intersect(Intersect(likely_, likely), both), Intersect(likely, both), both}) {
        if (!candidate.Empty()) {
            likely_ = candidate; // network jitter may refute the half-way guess
            return;
        }
    }
}

std::optional<Seconds> ClockEstimator::ServerTimeAt(Seconds at) const {
    if (!hasEstimate_) {
        return std::nullopt;
    }
    return at + likely_.Middle();
}

// The time shown is the likely interval's middle, which need not be the
// certain one's: the bound reaches from it to the farther certain edge.
Seconds ClockEstimator::UncertaintyAt(Seconds at) const {
    Interval certain = Aged(certain_, at);
    Seconds shown = likely_.Middle();
    return std::max(shown - certain.low, certain.high - shown);
}

bool ClockEstimator::ConvergedAt(Seconds at) const {
    return hasEstimate_ && Aged(likely_, at).Width() <= kConvergedWidth;
}

Seconds ClockEstimator::AimedSendTime(Seconds earliest) const {
    if (!hasEstimate_) {
        return earliest;
    }
    Seconds offset = likely_.Middle();
    Seconds oneWay = roundTrip_ / 2;
    Seconds boundary = std::ceil(earliest + oneWay + offset);
    return boundary - offset - oneWay;
}

ClockEstimator::Interval ClockEstimator::Intersect(Interval a, Interval b) {
    return {std::max(a.low, b.low), std::min(a.high, b.high)};
}

ClockEstimator::Interval ClockEstimator::Aged(Interval interval, Seconds at) const {
    Seconds growth = kDrift * std::max(0.0, at - updatedAt_);
    return {interval.low - growth, interval.high + growth};
}

} // namespace orvane
