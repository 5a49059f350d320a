#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace orvane {

// Reads the X clipboard's text as UTF-8 over a connection of its own to the
// display, so that an owner that never answers holds only the calling
// thread. Nothing when the owner does not answer within `patience` (which
// every chunk of a long transfer renews), when the text passes `limit`
// bytes, or when there is no display; empty when the clipboard holds no
// text.
std::optional<std::string> ReadXClipboard(std::chrono::milliseconds patience, std::size_t limit);

} // namespace orvane
