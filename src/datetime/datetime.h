#pragma once

#include <chrono>
#include <string>

namespace orvane {

// Beijing time is GMT plus 8 hours all year: the one offset of the program's
// time line, on which the server's clock, the panel and the countdown count
// whole seconds.
inline constexpr std::chrono::hours kBeijingOffset{8};

// "2026年12月7日7时5分19秒"; trailing zero parts of the time are left out,
// so midnight gives the date alone.
std::string DateTimeText(std::chrono::sys_seconds moment);

} // namespace orvane
