#pragma once

// Moments and lengths as plain seconds, for tests and simulations that
// script the machine's clock from 0.
#include "nettime/offset_interval.h"

namespace orvane {

inline MachineTime At(double seconds) {
    return MachineTime(Seconds(seconds));
}
inline double SecondsOf(MachineTime at) {
    return at.time_since_epoch().count();
}
inline double SecondsOf(ServerTime at) {
    return at.time_since_epoch().count();
}
inline double SecondsOf(Seconds length) {
    return length.count();
}

} // namespace orvane
