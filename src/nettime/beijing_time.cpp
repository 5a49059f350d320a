#include "beijing_time.h"

#include "ansi_literals.h"
#include "date_header.h"
#include "http_date.h"
#include "internet_time.h"
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
