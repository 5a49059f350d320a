#pragma once

#include <cstdint>

namespace orvane {

// The second the panel shows never goes back while the estimate is refined:
// a correction of less than a second back holds the second shown until the
// estimate has caught up, so no second is shown twice. A new estimate (after
// a restart) is shown at once, as one jump.
class ShownSecond {
public:
    // The second to show for the estimate's second, the estimator having
    // restarted `restarts` times so far.
    std::int64_t Next(std::int64_t estimated, int restarts);
    // The last jump was a restart's.
    bool Restarted() const { return restarted_; }

private:
    bool any_ = false;
    std::int64_t shown_ = 0;
    int restarts_ = 0;
    bool restarted_ = false;
};

} // namespace orvane
