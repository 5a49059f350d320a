#include "clock_estimator.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace orvane {

namespace {

// How fast two clocks may drift apart: 100 parts per million, far more than
// any working quartz clock.
constexpr double kDrift = 1e-4;
// Within 5 ms either way: the display changes its second within that.
constexpr Seconds kConvergedWidth = 0.010;
// The most a Date may lag its server's clock, as event-loop servers stamp
// from a time they keep per turn; answers further apart come from clocks
// that differ (a step, or another machine behind the same name).
constexpr Seconds kMostStaleness = 0.25;
constexpr Seconds kStalenessMargin = 0.001;
// How long a disagreement between the server's clocks keeps the bound wide.
constexpr Seconds kDisagreementMemory = 300;

} // namespace

// A Date lags its server's clock but never runs ahead of it: an answer
// proves the offset is at least Date - received. That it is below
// Date + 1 - sent holds only as far as the stamp was fresh, so that bound
// is widened by the staleness seen so far.
void ClockEstimator::AddAnswer(Seconds sentAt, Seconds receivedAt, std::int64_t serverSecond) {
    auto date = Seconds(serverSecond);
    Seconds middle = (sentAt + receivedAt) / 2;
    Interval certain{date - receivedAt, date + 1 + staleness_ - sentAt};
    Interval likely{date - middle, date + 1 - middle};
    if (!hasEstimate_) {
        certain_ = certain;
        likely_ = likely;
    } else {
        certain_ = Aged(certain_, receivedAt);
        likely_ = Aged(likely_, receivedAt);
        Merge(certain, likely, receivedAt);
    }
    hasEstimate_ = true;
    updatedAt_ = receivedAt;
    roundTrip_ = receivedAt - sentAt;
}

// Narrows both intervals by a new answer's. A small contradiction is a
// stamp staler than any before, or a second clock close to the first: the
// upper bounds widen by it. A large one is another clock: the estimate
// starts over on it. Either way the bound covers the difference for a while.
void ClockEstimator::Merge(Interval certain, Interval likely, Seconds at) {
    Interval both = Intersect(certain_, certain);
    if (both.Empty()) {
        Seconds gap = std::max(certain_.low - certain.high, certain.low - certain_.high);
        disagreement_ = std::max(gap, DisagreementAt(at));
        disagreedAt_ = at;
        if (gap > kMostStaleness) {
            ++restarts_;
            certain_ = certain;
            likely_ = likely;
            return;
        }
        staleness_ += gap + kStalenessMargin;
        certain_.high += gap + kStalenessMargin;
        certain.high += gap + kStalenessMargin;
        both = Intersect(certain_, certain);
    }
    certain_ = both;
    // A stale stamp contradicts the likely interval too: it keeps its own.
    for (Interval candidate : {Intersect(Intersect(likely_, likely), both),
                               Intersect(likely_, both), Intersect(likely, both), both}) {
        if (!candidate.Empty()) {
            likely_ = candidate;
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
    return std::max({shown - certain.low, certain.high - shown, DisagreementAt(at)});
}

Seconds ClockEstimator::DisagreementAt(Seconds at) const {
    return at - disagreedAt_ < kDisagreementMemory ? disagreement_ : 0;
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
