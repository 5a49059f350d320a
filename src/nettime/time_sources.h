#pragma once

namespace orvane {

// Where Beijing time comes from: a large public site that serves https, so
// that nobody on the way can set the clock. Any server whose answers carry
// a correct Date header serves; `orvane --time-url URL` names another, such
// as the bank's own reservation site, whose clock is the one that matters.
inline constexpr const char* kTimeServicePageUrl = "https://www.baidu.com/";
inline constexpr const char* kDefaultTimeSiteUrl = kTimeServicePageUrl;

} // namespace orvane
