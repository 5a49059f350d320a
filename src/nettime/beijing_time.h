#pragma once

#include <chrono>
#include <string>

namespace orvane {

// Beijing time as the status bar shows it: GMT plus 8 hours all year.

// "     当前北京时间为：", before every text of the panel.
extern const std::string kBeijingTimePrefix;

// The panel's text for a moment on the GMT time line: the prefix and
// "2026年12月7日7时5分19秒", trailing zero parts of the time left out.
std::string BeijingTimeTextAt(std::chrono::sys_seconds gmt);

} // namespace orvane
