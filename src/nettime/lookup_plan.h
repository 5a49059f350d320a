#pragma once

#include "clock_estimator.h"

namespace orvane {

// When the next time lookup leaves. Polite to the server: never more than
// one request a second; once the estimate has been narrow, a short burst of
// at most five requests about once a minute; after failures, waits that
// double up to a minute.
class LookupPlan {
public:
    void Sent(Seconds at);
    // After each lookup, answered or not.
    void Answered(const ClockEstimator& clock, Seconds at);
    void Failed(Seconds at);

    // The moment the next request should leave, aimed at the server's
    // second boundary; never before `now`.
    Seconds NextSendTime(const ClockEstimator& clock, Seconds now) const;

private:
    void Rest();

    bool resting_ = false;
    bool everConverged_ = false;
    Seconds lastSent_ = -1e18;
    Seconds burstStart_ = 0;
    int burstSent_ = 0;
    Seconds restUntil_ = 0;
    int failures_ = 0;
    Seconds failedAt_ = 0;
};

} // namespace orvane
