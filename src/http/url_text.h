#pragma once

#include "runtime/result.h"

#include <optional>
#include <string>

namespace orvane {

// A URL as the user gave it (ANSI text), made fit to send: an http or https
// URL whose characters beyond ASCII are UTF-8 and percent-encoded; refused
// when it is no such URL or names its host beyond ASCII.
Result<std::string> SendableUrl(const std::string& url);

// The URL without the user name and password it may carry, for the user's
// eyes.
std::string UrlForDisplay(const std::string& url);
// Nor its query and fragment, which may carry a key: what a log may hold.
std::string UrlForLog(const std::string& url);

} // namespace orvane
