#pragma once

#include <optional>
#include <string>

namespace orvane {

// The value of a response's Date header: the header line whose field name
// is "Date" in any case, trimmed. A name that merely ends in "Date" (such
// as X-Date) is another header. Nothing when there is none.
std::optional<std::string> DateHeaderValue(const std::string& headers);

} // namespace orvane
