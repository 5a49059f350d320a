#include "http_date.h"

#include <curl/curl.h>

std::optional<std::int64_t> HttpDateSeconds(const std::string& text) {
    time_t seconds = curl_getdate(text.c_str(), nullptr);
    if (seconds == -1) {
        return std::nullopt;
    }
    return std::int64_t(seconds);
}
