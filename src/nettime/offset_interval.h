#pragma once

#include <algorithm>
#include <chrono>

namespace orvane {

// A length of time, or how far the server's clock is from the machine's.
using Seconds = std::chrono::duration<double>;
// A moment on the machine's monotonic clock: when lookups leave and answers
// arrive. It never steps, so every estimate is kept on it.
using MachineTime = std::chrono::time_point<std::chrono::steady_clock, Seconds>;
// A moment on the server's clock, from 1970-01-01 00:00 GMT: what the Date
// header counts and the panel shows. The two clocks never mix but through an
// offset.
using ServerTime = std::chrono::time_point<std::chrono::system_clock, Seconds>;

// The server's time at a machine moment, its clock `offset` away.
inline ServerTime OnServer(MachineTime at, Seconds offset) {
    return ServerTime(at.time_since_epoch() + offset);
}
// The machine moment the server's clock, `offset` away, shows `at`.
inline MachineTime OnMachine(ServerTime at, Seconds offset) {
    return MachineTime(at.time_since_epoch() - offset);
}
// How far the server's clock is from the machine's, had it shown `server`
// at `machine`.
inline Seconds OffsetOf(ServerTime server, MachineTime machine) {
    return server.time_since_epoch() - machine.time_since_epoch();
}

// Where the offset (server time minus monotonic time) lies.
struct OffsetInterval {
    Seconds low{0};
    Seconds high{0};
    bool Empty() const { return low > high; }
    Seconds Width() const { return high - low; }
    Seconds Centre() const { return (low + high) / 2; }
};

inline OffsetInterval Intersect(OffsetInterval a, OffsetInterval b) {
    return {std::max(a.low, b.low), std::min(a.high, b.high)};
}

// An interval learnt at `from`, grown at `drift` seconds per second by `at`:
// the two clocks may have drifted apart since.
inline OffsetInterval Aged(OffsetInterval interval, MachineTime from, MachineTime at,
                           double drift) {
    Seconds growth = drift * std::max(Seconds{0}, at - from);
    return {interval.low - growth, interval.high + growth};
}

} // namespace orvane
