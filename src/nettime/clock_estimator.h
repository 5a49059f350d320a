#pragma once

#include <cstdint>
#include <optional>

namespace orvane {

// Seconds on the machine's monotonic clock, or on the server's clock since
// 1970. The two differ by an offset that the estimator narrows down.
using Seconds = double;

// The server's clock, estimated from the whole-second Date of its answers.
// The server stamped the answer between the moment the request left and the
// moment it came back, so one answer puts the offset (server time minus
// monotonic time) within [Date - received, Date + 1 - sent]. Successive
// answers are intersected; a request that reaches the server right at the
// estimated second boundary halves what is left, so a few answers pin the
// offset to milliseconds. A Date may lag (a stale stamp) but never lead:
// small contradictions teach how stale stamps can be, and widen the bound;
// large ones (the server's clock stepped, or another machine answered)
// start the estimate over.
class ClockEstimator {
public:
    void AddAnswer(Seconds sentAt, Seconds receivedAt, std::int64_t serverSecond);

    bool HasEstimate() const { return hasEstimate_; }
    // The server's time at a monotonic moment; nothing before the first
    // answer.
    std::optional<Seconds> ServerTimeAt(Seconds at) const;
    // How far the server's time at that moment can be from the estimate:
    // from the time shown to the farther edge of the certain interval, grown
    // by the clocks' drift since.
    Seconds UncertaintyAt(Seconds at) const;
    // Narrow enough to stop refining.
    bool ConvergedAt(Seconds at) const;
    Seconds LastAnswerAt() const { return updatedAt_; }
    int Restarts() const { return restarts_; }
    // How far the server's clocks were seen to differ, in the last minutes;
    // 0 when they agree.
    Seconds DisagreementAt(Seconds at) const;

    // The first moment not before `earliest` at which a request should
    // leave so that it reaches the server at one of its second boundaries.
    Seconds AimedSendTime(Seconds earliest) const;

private:
    struct Interval {
        Seconds low = 0;
        Seconds high = 0;
        bool Empty() const { return low > high; }
        Seconds Middle() const { return (low + high) / 2; }
        Seconds Width() const { return high - low; }
    };
    static Interval Intersect(Interval a, Interval b);
    Interval Aged(Interval interval, Seconds at) const;
    void Merge(Interval certain, Interval likely, Seconds at);

    bool hasEstimate_ = false;
    Interval certain_; // holds the offset whatever the network did
    // Narrower: assumes the answer was stamped half-way through the round
    // trip, as it is when both directions take as long.
    Interval likely_;
    Seconds updatedAt_ = 0;
    Seconds roundTrip_ = 0;
    int restarts_ = 0;
    Seconds staleness_ = 0;    // how far the server's Dates have lagged its clock
    Seconds disagreement_ = 0; // between the server's clocks, when last seen
    Seconds disagreedAt_ = -1e18;
};

} // namespace orvane
