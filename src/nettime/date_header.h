#pragma once

#include "runtime/result.h"

#include <cstdint>
#include <optional>
#include <string>

namespace orvane {

// The value of a response's Date header: the header line whose field name
// is "Date" in any case, trimmed. A name that merely ends in "Date" (such
// as X-Date) is another header. Nothing when there is none.
std::optional<std::string> DateHeaderValue(const std::string& headers);

// The value of the header whose field name is `upperName` in any case.
std::optional<std::string> HeaderNamed(const std::string& headers, const std::string& upperName);

// What an answer's header lines say of the server's clock: the second (since
// 1970, GMT) its Date states, or why they say nothing: no Date, no date in
// it, a year no working clock shows (before 2020 or after 2099), or a copy
// kept by a cache (an Age header above 0).
Result<std::int64_t> ServerSecondOf(const std::string& headers);

} // namespace orvane
