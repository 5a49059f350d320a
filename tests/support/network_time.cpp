#include "network_time.h"

#include "datetime/datetime.h"
#include "http/http_date.h"
#include "http/web_request.h"
#include "internet_time.h"
#include "nettime/beijing_time.h"
#include "nettime/date_header.h"
#include "nettime/time_sources.h"

namespace orvane {

namespace {

DateTime BeijingTimeOfRecord(const SystemTime& gmt) {
    DateTime at = MakeDateTime(gmt.year, gmt.month, gmt.day, gmt.hour, gmt.minute, gmt.second);
    return AddToDateTime(at, kHours, int(kBeijingOffset.count()));
}

} // namespace

DateTime HttpDateToBeijingTime(const std::string& text) {
    SystemTime record;
    InternetTimeToSystemTime(text, &record, 0);
    return BeijingTimeOfRecord(record);
}

std::string BeijingTimeText(DateTime beijing) {
    return kBeijingTimePrefix + ToText(beijing);
}

std::optional<DateTime> GetNetworkTime(const std::optional<std::string>& url) {
    WebRequestParams p;
    p.url = url.value_or(kDefaultTimeSiteUrl);
    p.method = HttpMethod::Head;
    std::optional<std::string> date = DateHeaderValue(WebRequest(p).headers);
    if (!date || !HttpDateSeconds(*date)) {
        return std::nullopt;
    }
    return HttpDateToBeijingTime(*date);
}

} // namespace orvane
