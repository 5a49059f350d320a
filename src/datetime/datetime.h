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

// The moment in Beijing as the status bar shows it (DateTimeText).
std::string BeijingText(std::chrono::sys_seconds gmt);
// The moment in Beijing to the second as "2026-12-08 16:30:05", the form a
// log sorts by.
std::string BeijingStamp(std::chrono::system_clock::time_point gmt);

} // namespace orvane
