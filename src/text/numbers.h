#pragma once

#include <cmath>
#include <cstdint>

namespace orvane {

// A computed number as an integer, rounded toward zero. Out of range and NaN
// give INT32_MIN, the "integer indefinite" value, on every platform alike.
inline std::int32_t TruncateToInteger(double number) {
    if (number <= -2147483649.0 || number >= 2147483648.0) {
        return INT32_MIN;
    }
    return static_cast<std::int32_t>(std::trunc(number));
}

} // namespace orvane
