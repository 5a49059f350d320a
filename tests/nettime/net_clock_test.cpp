// The lookups of the status bar's clock against a server on 127.0.0.1: what
// they ask, and which answers they take as the server's clock.
#include "files/failure_log.h"
#include "nettime/date_header.h"
#include "nettime/net_clock.h"
#include "nettime/shown_second.h"
#include "scripted_server.h"
#include "temp_folder.h"
#include "text/ansi_literals.h"

#include <gtest/gtest.h>
#include <mutex>

namespace orvane {

namespace {

// Asks for no cached copy and takes the first answer as it comes: a redirect
// to another server is that server's clock, not this one's.
TEST(NetClock, ALookupAsksPastCachesAndFollowsNoRedirect) {
    std::mutex mutex;
    std::string head;
    ScriptedServer server([&](int fd, const std::atomic<bool>& stopping) {
        std::string request;
        char c = 0;
        while (request.find("\r\n\r\n") == std::string::npos && !stopping &&
               ::recv(fd, &c, 1, 0) == 1) {
            request += c;
        }
        {
            std::scoped_lock lock(mutex);
            head += request;
        }
        ScriptedServer::SendAll(fd, "HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:9/\r\n"
                                    "Date: Sun, 06 Dec 2026 23:05:19 GMT\r\n"
                                    "Content-Length: 0\r\n\r\n");
    });
    std::vector<WorkQueue::Task> posted;
    std::mutex postMutex;
    int answers = 0;
    {
        NetClock clock(
            server.Url("http"),
            [&](WorkQueue::Task task) {
                std::scoped_lock lock(postMutex);
                posted.push_back(std::move(task));
            },
            [&] { ++answers; });
        clock.Tick();
        for (int i = 0; i < 500 && answers == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            std::scoped_lock lock(postMutex);
            for (WorkQueue::Task& task : std::exchange(posted, {})) {
                task();
            }
        }
        ASSERT_EQ(answers, 1);
        EXPECT_TRUE(clock.Estimate().HasEstimate()) << "the 302's own Date is the clock";
    }
    std::scoped_lock lock(mutex);
    EXPECT_NE(head.find("Cache-Control: no-cache\r\n"), std::string::npos) << head;
    EXPECT_NE(head.find("Pragma: no-cache\r\n"), std::string::npos);
    EXPECT_EQ(server.connections, 1) << "no request to where the redirect points";
}

// A lookup cut off because the clock follows another server (or stops)
// failed nothing: the log that users send stays clean of it.
TEST(NetClock, ALookupCancelledIsNoFailure) {
    TempFolder folder;
    SetFailureLog(folder.Path("故障记录.txt"));
    ScriptedServer silent([](int, const std::atomic<bool>& stopping) {
        while (!stopping) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    {
        NetClock clock(
            silent.Url("http"), [](const WorkQueue::Task&) {}, [] {});
        clock.Tick();
        for (int i = 0; i < 200 && silent.connections == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_EQ(silent.connections, 1) << "a lookup under way";
    }
    SetFailureLog({});
    EXPECT_EQ(folder.Bytes("故障记录.txt"), "");
}

TEST(NetClock, OnlyAFreshPlausibleDateIsTheServersClock) {
    const std::string date = "Date: Sun, 06 Dec 2026 23:05:19 GMT\r\n";
    EXPECT_EQ(ServerSecondOf(date).ValueOr(0), 1796598319);
    EXPECT_EQ(ServerSecondOf(date + "Age: 0\r\n").ValueOr(0), 1796598319);
    EXPECT_EQ(ServerSecondOf(date + "Age: 5\r\n").Reason(), "回答来自缓存，不是服务器此刻的时钟");
    EXPECT_EQ(ServerSecondOf("Date: Mon, 01 Jan 1900 00:00:00 GMT\r\n").Reason(),
              "Date 头的日期不可信：Mon, 01 Jan 1900 00:00:00 GMT");
    EXPECT_FALSE(ServerSecondOf("Date: Fri, 31 Dec 9999 23:59:59 GMT\r\n").Ok());
    EXPECT_EQ(ServerSecondOf("Server: x\r\n").Reason(), "回答中没有 Date 头");
}

// While the estimate settles the second shown never goes back; a restart is
// one jump, and says so.
TEST(ShownSecond, NeverBackwardsButARestartJumps) {
    ShownSecond shown;
    EXPECT_EQ(shown.Next(100, 0), 100);
    EXPECT_EQ(shown.Next(101, 0), 101);
    EXPECT_EQ(shown.Next(100, 0), 101) << "a correction back is held";
    EXPECT_EQ(shown.Next(101, 0), 101);
    EXPECT_EQ(shown.Next(102, 0), 102);
    EXPECT_FALSE(shown.Restarted());
    EXPECT_EQ(shown.Next(92, 1), 92) << "a restart, seen at once";
    EXPECT_TRUE(shown.Restarted());
    EXPECT_EQ(shown.Next(93, 1), 93);
    EXPECT_FALSE(shown.Restarted());
}

} // namespace

} // namespace orvane
