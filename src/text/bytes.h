#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

// A counted sequence of bytes; empty is a valid value.
using ByteArray = std::vector<std::uint8_t>;

inline ByteArray BytesFromText(const std::string& text) {
    return {text.begin(), text.end()};
}

} // namespace orvane
