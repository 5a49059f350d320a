#include "beijing_time.h"

#include "ansi_literals.h"
#include "internet_time.h"
#include "text.h"
#include "time_sources.h"
#include "web_request.h"

const std::string kBeijingTimePrefix = "     当前北京时间为：";

namespace {

DateTime BeijingTimeOfRecord(const SystemTime& gmt) {
    DateTime at = MakeDateTime(gmt.year, gmt.month, gmt.day, gmt.hour, gmt.minute, gmt.second);
    return AddToDateTime(at, kHours, 8);
}

} // namespace

DateTime HttpDateToBeijingTime(const std::string& text) {
    SystemTime record;
    InternetTimeToSystemTime(text, &record, 0);
    return BeijingTimeOfRecord(record);
}

DateTime BeijingTimeOfSeconds(std::int64_t seconds) {
    return BeijingTimeOfRecord(RecordOfSeconds(seconds));
}

std::string BeijingTimeText(DateTime beijing) {
    return kBeijingTimePrefix + ToText(beijing);
}

std::optional<std::string> DateHeaderValue(const std::string& headers) {
    for (const std::string& line : SplitText(headers, "\r\n")) {
        size_t colon = line.find(':');
        if (colon != std::string::npos &&
            ToUpperCase(TrimSpaces(line.substr(0, colon))) == "DATE") {
            return TrimSpaces(line.substr(colon + 1));
        }
    }
    return std::nullopt;
}

std::optional<DateTime> GetNetworkTime(const std::optional<std::string>& url) {
    WebRequestParams p;
    p.url = url.value_or(kDefaultTimeSiteUrl);
    p.method = HttpMethod::Head;
    std::string headers;
    p.responseHeaders = &headers;
    WebRequest(p);
    std::optional<std::string> date = DateHeaderValue(headers);
    if (!date || !HttpDateSeconds(*date)) {
        return std::nullopt;
    }
    return HttpDateToBeijingTime(*date);
}
