#pragma once

#include "runtime/datetime.h"

#include <chrono>
#include <optional>
#include <string>

namespace orvane {

// Beijing time as the status bar shows it: GMT plus 8 hours all year.

// "     当前北京时间为：", before every text of the panel.
extern const std::string kBeijingTimePrefix;

// The Beijing date-time, in whole seconds, that an HTTP date states. A text
// that is no date gives 1 January 100, 08:00.
DateTime HttpDateToBeijingTime(const std::string& text);

// Beijing time is GMT plus 8 hours all year.
inline constexpr std::chrono::hours kBeijingOffset{8};

// The panel's text for a Beijing date-time: the prefix and
// "2026年12月7日7时5分19秒", trailing zero parts of the time left out.
std::string BeijingTimeText(DateTime beijing);
// The panel's text for a moment on the GMT time line.
std::string BeijingTimeTextAt(std::chrono::sys_seconds gmt);

// One lookup: a HEAD request to the URL (the default time site when none is
// given) and the Beijing time its Date header states. Nothing when the
// request fails or the answer has no date. Blocks for the whole request.
std::optional<DateTime> GetNetworkTime(const std::optional<std::string>& url = std::nullopt);

} // namespace orvane
