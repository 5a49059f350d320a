// A hostile time server: any response headers through the Date header's
// search and the HTTP date's parse. Every date the parser accepts must be
// the moment libcurl's parser finds in it too.
#include "http/http_date.h"
#include "internet_time.h"
#include "nettime/date_header.h"

#include "fuzz_check.h"

#include <curl/curl.h>
#include <fuzzer/FuzzedDataProvider.h>

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    std::string headers = data.ConsumeRemainingBytesAsString();
    std::optional<std::string> date = DateHeaderValue(headers);
    Check(!date || date->size() < headers.size());
    std::string text = date.value_or(headers);
    std::optional<std::int64_t> seconds = HttpDateSeconds(text);
    if (seconds && text.find(":60") == std::string::npos && text.find('\0') == std::string::npos) {
        Check(curl_getdate(text.c_str(), nullptr) == *seconds);
    }
    SystemTime record;
    record.year = 7;
    bool read = InternetTimeToSystemTime(text, &record, 0);
    Check(read == seconds.has_value());
    Check(read || record.year == 7);
    Check(!read ||
          (record.month >= 1 && record.month <= 12 && record.day >= 1 && record.day <= 31));
    return 0;
}
