// A hostile time server: any response headers through the Date header's
// search and the HTTP date's parse.
#include "date_header.h"
#include "internet_time.h"

#include "fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    std::string headers = data.ConsumeRemainingBytesAsString();
    std::optional<std::string> date = DateHeaderValue(headers);
    Check(!date || date->size() < headers.size());
    SystemTime record;
    record.year = 7;
    bool read = InternetTimeToSystemTime(date.value_or(headers), &record, 0);
    Check(read || record.year == 7);
    Check(!read ||
          (record.month >= 1 && record.month <= 12 && record.day >= 1 && record.day <= 31));
    return 0;
}
