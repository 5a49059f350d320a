#pragma once

#include "clock_estimator.h"

#include <deque>

namespace orvane {

// When the next time lookup leaves. Polite to the server: one request a
// second on average, never two within half a second; once the estimate has
// been narrow and checked (or a minute after the first lookup), never more
// than five in any minute, and while it stays narrow one aimed request every
// 13 seconds, so that a step of the server's clock is seen within 15: in
// turn at the estimated boundary and just after and before it, where a
// second clock behind the same name would contradict the estimate. After
// failures, waits that double up to a minute.
class LookupPlan {
public:
    void Sent(MachineTime at);
    // After each lookup, answered or not.
    void Answered(const ClockEstimator& clock, MachineTime at);
    void Failed(MachineTime at);

    // The moment the next request should leave, aimed at the server's
    // second boundary; never before `now`.
    MachineTime NextSendTime(const ClockEstimator& clock, MachineTime now) const;

private:
    Probe NextProbe() const;
    double CreditAt(MachineTime at) const;

    bool settled_ = false; // narrow and checked, or a minute has passed
    MachineTime firstSentAt_;
    int checks_ = 0;                 // lookups since the estimate became narrow, unsettled
    int refreshes_ = 0;              // since settling
    std::deque<MachineTime> recent_; // the last sends, at most the minute's share
    double credit_ = 2;              // requests that may leave now, as of creditAt_
    MachineTime creditAt_;
    MachineTime restUntil_;
    int failures_ = 0;
    MachineTime failedAt_;
};

} // namespace orvane
