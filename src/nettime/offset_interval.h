#pragma once

#include <algorithm>

namespace orvane {

// Seconds on the machine's monotonic clock, or on the server's clock since
// 1970. The two differ by an offset that the estimates narrow down.
using Seconds = double;

// Where the offset (server time minus monotonic time) lies.
struct OffsetInterval {
    Seconds low = 0;
    Seconds high = 0;
    bool Empty() const { return low > high; }
    Seconds Width() const { return high - low; }
    Seconds Centre() const { return (low + high) / 2; }
};

inline OffsetInterval Intersect(OffsetInterval a, OffsetInterval b) {
    return {std::max(a.low, b.low), std::min(a.high, b.high)};
}

// An interval learnt at `from`, grown at `drift` seconds per second by `at`:
// the two clocks may have drifted apart since.
inline OffsetInterval Aged(OffsetInterval interval, Seconds from, Seconds at, double drift) {
    Seconds growth = drift * std::max(0.0, at - from);
    return {interval.low - growth, interval.high + growth};
}

} // namespace orvane
