#include "date_header.h"

#include "http/http_date.h"
#include "text/ansi_literals.h"

namespace orvane {

namespace {

constexpr std::int64_t kYear2020 = 1577836800; // 2020-01-01 00:00 GMT
constexpr std::int64_t kYear2100 = 4102444800; // 2100-01-01 00:00 GMT

} // namespace

Result<std::int64_t> ServerSecondOf(const std::string& headers) {
    std::optional<std::string> date = DateHeaderValue(headers);
    if (!date) {
        return Failure{"回答中没有 Date 头"};
    }
    std::optional<std::int64_t> second = HttpDateSeconds(*date);
    if (!second) {
        return Failure{"Date 头不是有效的日期"};
    }
    if (*second < kYear2020 || *second >= kYear2100) {
        return Failure{"Date 头的日期不可信：" + *date};
    }
    std::optional<std::string> age = HeaderNamed(headers, "AGE");
    if (age && age->find_first_not_of("0") != std::string::npos) {
        return Failure{"回答来自缓存，不是服务器此刻的时钟"};
    }
    return *second;
}

} // namespace orvane
