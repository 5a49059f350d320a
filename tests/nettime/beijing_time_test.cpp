#include "http/http_date.h"
#include "internet_time.h"
#include "nettime/beijing_time.h"
#include "nettime/date_header.h"
#include "network_time.h"
#include "text/ansi_literals.h"

#include <gtest/gtest.h>

namespace orvane {

namespace {

std::string Shown(const std::string& date) {
    return BeijingTimeText(HttpDateToBeijingTime(date));
}

TEST(BeijingTime, TheDateHeaderPlusEightHoursInThePanelsWords) {
    const std::string prefix = "     当前北京时间为：";
    EXPECT_EQ(Shown(" Sun, 06 Dec 2026 23:05:19 GMT"), prefix + "2026年12月7日7时5分19秒");
    EXPECT_EQ(Shown("Sunday, 06-Dec-26 23:05:19 GMT"), prefix + "2026年12月7日7时5分19秒");
    EXPECT_EQ(Shown("Sun Dec  6 23:05:19 2026"), prefix + "2026年12月7日7时5分19秒");
    EXPECT_EQ(Shown("Sun, 06 Dec 2026 16:00:00 GMT"), prefix + "2026年12月7日") << "midnight";
    EXPECT_EQ(Shown("Sun, 06 Dec 2026 00:30:00 GMT"), prefix + "2026年12月6日8时30分");
    EXPECT_EQ(Shown("Sun, 06 Dec 2026 00:00:05 GMT"), prefix + "2026年12月6日8时0分5秒");
    EXPECT_EQ(BeijingTimeTextAt(std::chrono::sys_seconds(std::chrono::seconds(1796598319))),
              prefix + "2026年12月7日7时5分19秒");
}

TEST(BeijingTime, TextThatIsNoDateLeavesTheRecordAlone) {
    SystemTime record;
    record.year = 7;
    EXPECT_FALSE(InternetTimeToSystemTime("", &record, 0));
    EXPECT_FALSE(InternetTimeToSystemTime("不是日期", &record, 0));
    EXPECT_EQ(record.year, 7);
    for (const char* wrong : {"", "Mon, 30 Feb 2026 00:00:00 GMT", "Sun, 06 Dec 2026 23:05:19 CET",
                              "Funday, 06 Dec 2026 23:05:19 GMT", "Sun, 06 Dec 2026 24:00:00 GMT",
                              "Sun, 06 Dec 2026 23:05 GMT"}) {
        EXPECT_FALSE(HttpDateSeconds(wrong).has_value()) << wrong;
    }
    EXPECT_EQ(HttpDateSeconds("Sun, 06 Dec 2026 23:05:60 GMT"), 1796598359) << "a leap second";
    EXPECT_EQ(HttpDateSeconds("Friday, 01-Jan-99 00:00:00 GMT"), 915148800);
    EXPECT_TRUE(InternetTimeToSystemTime("Sun, 06 Dec 2026 23:05:19 GMT", &record, 0));
    EXPECT_EQ(record.year, 2026);
    EXPECT_EQ(record.day, 6);
    EXPECT_EQ(record.dayOfWeek, 0);
}

TEST(BeijingTime, TheDateHeaderIsFoundByItsNameInAnyCase) {
    EXPECT_EQ(DateHeaderValue("X-Date: Mon, 01 Jan 2001 00:00:00 GMT\r\n"
                              "Date: Sun, 06 Dec 2026 23:05:19 GMT\r\n"),
              "Sun, 06 Dec 2026 23:05:19 GMT")
        << "an X-Date before it is not taken";
    EXPECT_EQ(DateHeaderValue("server: h2\r\ndate: Sun, 06 Dec 2026 23:05:19 GMT\r\n"),
              "Sun, 06 Dec 2026 23:05:19 GMT");
    EXPECT_EQ(DateHeaderValue("X-Date: Sun, 06 Dec 2026 23:05:19 GMT\r\n"), std::nullopt);
    EXPECT_EQ(DateHeaderValue(""), std::nullopt);
}

} // namespace

} // namespace orvane
