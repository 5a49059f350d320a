#pragma once

namespace orvane {

// Where Beijing time comes from. Any server whose answers carry a correct
// Date header serves; `orvane --time-url URL` names another, such as the
// bank's own reservation site, whose clock is the one that matters.

// The time service page: the national time service's site.
inline constexpr const char* kTimeServicePageUrl = "http://www.ntsc.ac.cn/";

// The default time site: a large public site.
inline constexpr const char* kDefaultTimeSiteUrl = "http://www.baidu.com/";

} // namespace orvane
