// The status bar's Beijing time against time servers on 127.0.0.1: one
// that keeps a clock, one that never answers.
#include "clock_server.h"
#include "desk.h"
#include "program_bindings.h"
#include "scripted_server.h"
#include "text/ansi_literals.h"
#include "window/component_names.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <functional>
#include <optional>
#include <random>

namespace orvane {

namespace {

class BeijingClock : public DeskTest {
protected:
    void Start(const std::string& url) { bindings.emplace(window, url); }
    std::string Panel() { return PanelTextOf(window, kTimePanel); }
    std::string Tip() { return PanelTipOf(window, kTimePanel); }
    bool Shows(const std::string& part) { return Panel().find(part) != std::string::npos; }
    // Runs the window for `seconds`; at each turn of the panel's second,
    // `check` gets the text shown, the machine's time then and the tooltip.
    // Returns how many turns there were.
    int
    WatchTurns(int seconds,
               const std::function<void(const std::string&, double, const std::string&)>& check) {
        std::string shown = Panel();
        int turned = 0;
        for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
             std::chrono::steady_clock::now() < end;) {
            Pass(window, 1);
            if (Panel() == shown) {
                continue;
            }
            shown = Panel();
            ++turned;
            check(shown,
                  std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
                      .count(),
                  Tip());
        }
        return turned;
    }
    std::optional<ProgramBindings> bindings;
};

using Clock = std::chrono::steady_clock;

TEST_F(BeijingClock, ASilentServerNeverHoldsTheWindow) {
    std::atomic<Clock::rep> reached = 0;
    ScriptedServer silent([&reached](int, const std::atomic<bool>& stopping) {
        reached = Clock::now().time_since_epoch().count();
        while (!stopping) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    Start(silent.Url("http"));
    window.SetContent(EditBoxName(1, NameKey()), "张三");
    ASSERT_TRUE(PassUntil(
        window, [&] { return reached != 0; }, 5000));
    // The lookup now waits on the server; a click is answered meanwhile.
    Pass(window, 0);
    Click(window, CopyButtonName(1, NameKey()));
    Clock::time_point clicked = Clock::now();
    EXPECT_LT(clicked - Clock::time_point(Clock::duration(reached.load())), std::chrono::seconds(3))
        << "a lookup on the window's thread would hold the click for 12 s";
    EXPECT_EQ(DeskClipboardText(), "张三");
    EXPECT_EQ(Panel(), "     当前北京时间为：正在获取…") << "no time it does not have";
}

TEST_F(BeijingClock, AFailedLookupSaysWhyInTheTooltip) {
    Start(kNoTimeServer);
    ASSERT_TRUE(PassUntil(
        window, [&] { return Tip().find("失败") != std::string::npos; }, 5000));
    EXPECT_EQ(Panel(), "     当前北京时间为：获取失败，正在重试");
    EXPECT_EQ(Tip(), "北京时间取自 " + kNoTimeServer + "。\n最近一次获取失败：服务器拒绝连接。");
}

// The ticker beats a minute apart here: only the window's opening can have
// sent the lookup that the time comes from.
TEST_F(BeijingClock, TheFirstLookupLeavesAsTheWindowOpens) {
    ScriptedServer server([](int fd, const std::atomic<bool>& stopping) {
        ServeClock(fd, stopping, std::chrono::milliseconds(0));
    });
    window.SetInterval(kTicker, 60000);
    Start(server.Url("http"));
    window.FinishCreation();
    TakeMessages();
    EXPECT_TRUE(PassUntil(
        window, [&] { return Shows("年"); }, 10000))
        << Panel();
    bindings.reset();
}

TEST_F(BeijingClock, TheSwitchStopsTheTimeAndResumesIt) {
    ScriptedServer server([](int fd, const std::atomic<bool>& stopping) {
        ServeClock(fd, stopping, std::chrono::milliseconds(0));
    });
    Start(server.Url("http"));
    ASSERT_TRUE(PassUntil(
        window, [&] { return Shows("年"); }, 5000));
    EXPECT_TRUE(Panel().starts_with("     当前北京时间为："));
    Click(window, kTimeToggleButton);
    Pass(window, 2100);
    EXPECT_EQ(Panel(), "     底部时间已停止") << "stopped, and says so";
    Click(window, kTimeToggleButton);
    EXPECT_TRUE(PassUntil(
        window, [&] { return Shows("年"); }, 3000))
        << "running again";
    bindings.reset(); // closes the connection the server waits on
}

// The number the tooltip states after `label`, in seconds (it states
// milliseconds); none when it states none.
std::optional<double> Stated(const std::string& tip, const std::string& label) {
    size_t at = tip.find(label);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    size_t end = at + label.size();
    while (end < tip.size() && tip[end] >= '0' && tip[end] <= '9') {
        ++end;
    }
    return std::stod("0" + tip.substr(at + label.size(), end - at - label.size())) / 1000;
}

// The server's clock is this machine's; its stamps lag up to 15 ms. Once the
// estimate has settled, the panel turns its second with the machine's.
TEST_F(BeijingClock, StaleStampsStillTurnTheSecondWithTheServer) {
    ScriptedServer server([](int fd, const std::atomic<bool>& stopping) {
        ServeClock(fd, stopping, std::chrono::milliseconds(15));
    });
    Start(server.Url("http"));
    // The first narrowing, its checks on both sides, the climb: under a
    // minute, longer on a busy machine.
    ASSERT_TRUE(PassUntil(
        window,
        [&] {
            std::optional<double> bound = Stated(Tip(), "误差不超过 ");
            return bound && *bound <= 0.020;
        },
        90000))
        << Tip();
    std::vector<double> lateness;
    std::string shown = Panel();
    for (auto end = Clock::now() + std::chrono::seconds(8); Clock::now() < end;) {
        Pass(window, 1);
        if (Panel() == shown) {
            continue;
        }
        shown = Panel();
        double at =
            std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
                .count();
        double sinceBoundary = at - std::floor(at);
        lateness.push_back(sinceBoundary < 0.5 ? sinceBoundary : sinceBoundary - 1);
    }
    bindings.reset(); // closes the connection the server waits on
    ASSERT_GE(lateness.size(), 7u);
    std::sort(lateness.begin(), lateness.end());
    // Stamps up to 15 ms late may leave the second as late, never early.
    EXPECT_LT(std::fabs(lateness[lateness.size() / 2]), 0.020)
        << lateness.front() << " to " << lateness.back();
}

// Two machines behind one name answer in turn, the second's clock 700 ms
// behind the first's. From 25 s on (the turns proven by answers aimed
// between the clocks, then each clock narrowed) each second shown lies
// within the bound the tooltip states of the nearer clock, and the tooltip
// names the difference within a fifth and which clock is shown.
TEST_F(BeijingClock, TwoMachinesInTurnAreFoundWithinTwentyFiveSeconds) {
    std::atomic<int> turns = 0;
    ScriptedServer server([&turns](int fd, const std::atomic<bool>& stopping) {
        ServeClock(fd, stopping, std::chrono::milliseconds(0), &turns,
                   std::chrono::milliseconds(700));
    });
    Start(server.Url("http"));
    Pass(window, 25000);
    int turned = WatchTurns(8, [](const std::string&, double at, const std::string& tip) {
        double nearer = 1;
        for (double clock : {at, at - 0.7}) {
            double since = clock - std::floor(clock);
            nearer = std::min({nearer, since, 1 - since});
        }
        EXPECT_LE(nearer, Stated(tip, "误差不超过 ").value_or(0) + 0.001) << tip;
        EXPECT_NEAR(Stated(tip, "相差约 ").value_or(0), 0.7, 0.14) << tip;
        EXPECT_PRED_FORMAT2(testing::IsSubstring, "网站至少有 2 台服务器", tip);
        EXPECT_PRED_FORMAT2(testing::IsSubstring, "较快那台", tip);
    });
    bindings.reset(); // closes the connection the server waits on
    EXPECT_GE(turned, 7);
}

// The second the panel shows, within its minute: the figure before "秒",
// or 0 where the text ends at the minute.
int ShownSecondOf(const std::string& panel) {
    size_t mark = panel.rfind("秒");
    if (mark == std::string::npos || mark + std::string("秒").size() != panel.size()) {
        return 0;
    }
    size_t start = mark;
    while (start > 0 && panel[start - 1] >= '0' && panel[start - 1] <= '9') {
        --start;
    }
    return std::stoi(panel.substr(start, mark - start));
}

// Two machines behind one name answer at random, the second's clock 700 ms
// behind the first's. From 20 s on, at each turn of the panel, both clocks
// lie within the bound the tooltip states of the second just shown, and
// the tooltip names two machines.
TEST_F(BeijingClock, TwoMachinesAtRandomStayWithinTheBound) {
    ScriptedServer server([](int fd, const std::atomic<bool>& stopping) {
        ServeClock(fd, stopping, std::chrono::milliseconds(0), nullptr,
                   std::chrono::milliseconds(700), true);
    });
    Start(server.Url("http"));
    Pass(window, 20000);
    int turned = WatchTurns(8, [](const std::string& shown, double at, const std::string& tip) {
        double bound = Stated(tip, "误差不超过 ").value_or(0);
        for (double clock : {at, at - 0.7}) {
            double late = std::fmod(clock, 60.0) - ShownSecondOf(shown);
            late -= (60 * std::round(late / 60));
            EXPECT_LE(std::fabs(late), bound + 0.002) << shown << "\n" << tip;
        }
        EXPECT_PRED_FORMAT2(testing::IsSubstring, "网站至少有 2 台服务器", tip);
    });
    bindings.reset(); // closes the connection the server waits on
    EXPECT_GE(turned, 7);
}

// An opening time a few seconds ahead, typed and confirmed on the 配置
// page: the panel counts down to it second by second on the server's clock,
// then shows the time again.
TEST_F(BeijingClock, TheOpeningTimeCountsDownThenTheTimeReturns) {
    ScriptedServer server([](int fd, const std::atomic<bool>& stopping) {
        ServeClock(fd, stopping, std::chrono::milliseconds(0));
    });
    Start(server.Url("http"));
    ASSERT_TRUE(PassUntil(
        window, [&] { return Shows("年"); }, 5000));
    std::time_t opening = std::time(nullptr) + 6 + (std::time_t{8} * 3600); // Beijing time
    std::tm beijing{};
    gmtime_r(&opening, &beijing);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &beijing);
    window.SetContent(kOpeningTimeBox, text);
    bindings->countdown.OnOpeningTimeConfirmed();
    std::vector<std::string> seen;
    for (auto end = Clock::now() + std::chrono::seconds(9); Clock::now() < end;) {
        Pass(window, 5);
        if (seen.empty() || seen.back() != Panel()) {
            seen.push_back(Panel());
        }
    }
    // The seconds counted, each once; while the lookups still check the
    // server's machines the count says it is about ("距开始约 …").
    std::vector<std::string> counted;
    std::string all;
    for (const std::string& text : seen) {
        std::string count = text.find("距开始") != std::string::npos
                                ? text.substr(text.find("00:"), 8)
                                : std::string("time");
        if (counted.empty() || counted.back() != count) {
            counted.push_back(count);
        }
        all += text + " | ";
    }
    auto three = std::find(counted.begin(), counted.end(), "00:00:03");
    ASSERT_NE(three, counted.end()) << all;
    ASSERT_LT(three + 3, counted.end());
    EXPECT_EQ(three[1], "00:00:02");
    EXPECT_EQ(three[2], "00:00:01");
    EXPECT_EQ(three[3], "time") << "the opening";
    EXPECT_TRUE(seen.back().starts_with("     当前北京时间为："));
    EXPECT_TRUE(seen.back().find("年") != std::string::npos);
    bindings.reset(); // closes the connection the server waits on
}

} // namespace

} // namespace orvane
