#pragma once

#include "ole_date.h"

#include <optional>
#include <string>

namespace orvane {

// The first way of taking Beijing time from a server, which the tests and
// the per-tick benchmark keep to weigh the program's clock against: one
// HEAD request a tick, its Date plus 8 hours as an OLE date.

// The Beijing date-time, in whole seconds, that an HTTP date states. A text
// that is no date gives 1 January 100, 08:00.
DateTime HttpDateToBeijingTime(const std::string& text);

// The panel's text for a Beijing date-time: the prefix and
// "2026年12月7日7时5分19秒", trailing zero parts of the time left out.
std::string BeijingTimeText(DateTime beijing);

// One lookup: a HEAD request to the URL (the default time site when none is
// given) and the Beijing time its Date header states. Nothing when the
// request fails or the answer has no date. Blocks for the whole request.
std::optional<DateTime> GetNetworkTime(const std::optional<std::string>& url = std::nullopt);

} // namespace orvane
