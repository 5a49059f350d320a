// The status bar's Beijing time in a real window against time servers on
// 127.0.0.1: one that keeps a clock, one that never answers.
#include "modal_box.h"
#include "program_bindings.h"
#include "scripted_server.h"
#include "storage/information_file.h"
#include "text/ansi_literals.h"
#include "window/component_names.h"
#include "window_access.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <optional>
#include <random>

namespace orvane {

namespace {

// Answers every HEAD request with the machine's time as its Date, stamped
// up to `lag` late, as event-loop servers stamp from a time they keep. With
// `turns`, every other request is answered by a second machine whose clock
// is `behind` the first's.
void ServeClock(int fd, const std::atomic<bool>& stopping, std::chrono::milliseconds lag,
                std::atomic<int>* turns = nullptr,
                std::chrono::milliseconds behind = std::chrono::milliseconds(0)) {
    std::minstd_rand random(7);
    while (ScriptedServer::ReadHead(fd, stopping)) {
        bool second = turns != nullptr && (*turns)++ % 2 == 1;
        auto stamped = std::chrono::system_clock::now() -
                       std::chrono::milliseconds(random() % (lag.count() + 1));
        if (second) {
            stamped -= behind;
        }
        std::time_t now = std::chrono::system_clock::to_time_t(stamped);
        std::tm gmt{};
        gmtime_r(&now, &gmt);
        char date[64];
        std::strftime(date, sizeof date, "%a, %d %b %Y %H:%M:%S GMT", &gmt);
        std::string answer =
            "HTTP/1.1 200 OK\r\nDate: " + std::string(date) + "\r\nContent-Length: 0\r\n\r\n";
        if (!ScriptedServer::SendAll(fd, answer)) {
            return;
        }
    }
}

class BeijingClock : public testing::Test {
protected:
    void Start(const std::string& url) {
        bindings.emplace(window, url);
        window.show();
    }
    QLabel* Pane() { return Component<QStatusBar>(window, kStatusBar)->findChild<QLabel*>(); }
    QString Panel() { return Pane()->text(); }
    MainWindow window;
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return reached != 0; }, 5000));
    // The lookup now waits on the server; a click is answered meanwhile.
    Clock::time_point clicked;
    QTimer::singleShot(0, [&] {
        Component<QPushButton>(window, CopyButtonName(1, NameKey()))->click();
        clicked = Clock::now();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return clicked != Clock::time_point(); }, 20000));
    EXPECT_LT(clicked - Clock::time_point(Clock::duration(reached.load())), std::chrono::seconds(3))
        << "a lookup on the window's thread would hold the click for 12 s";
    EXPECT_EQ(ClipboardText(), "张三");
    EXPECT_EQ(Panel(), ToUnicode("     当前北京时间为：正在获取…")) << "no time it does not have";
}

TEST_F(BeijingClock, AFailedLookupSaysWhyInTheTooltip) {
    Start(kNoTimeServer);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return Pane()->toolTip().contains(QStringLiteral("失败")); }, 5000));
    EXPECT_EQ(Panel(), ToUnicode("     当前北京时间为：获取失败，正在重试"));
    EXPECT_EQ(Pane()->toolTip(), ToUnicode("北京时间取自 " + kNoTimeServer +
                                           "。\n最近一次获取失败：服务器拒绝连接。"));
}

// The ticker beats a minute apart here: only the window's opening can have
// sent the lookup that the time comes from.
TEST_F(BeijingClock, TheFirstLookupLeavesAsTheWindowOpens) {
    ScriptedServer server([](int fd, const std::atomic<bool>& stopping) {
        ServeClock(fd, stopping, std::chrono::milliseconds(0));
    });
    window.SetInterval(kTicker, 60000);
    Start(server.Url("http"));
    ModalBoxAnswerer greeting;
    window.FinishCreation();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Panel().contains(QStringLiteral("年")); }, 10000))
        << Panel().toStdString();
    bindings.reset();
}

TEST_F(BeijingClock, TheSwitchStopsTheTimeAndResumesIt) {
    ScriptedServer server([](int fd, const std::atomic<bool>& stopping) {
        ServeClock(fd, stopping, std::chrono::milliseconds(0));
    });
    Start(server.Url("http"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Panel().contains(QStringLiteral("年")); }, 5000));
    EXPECT_TRUE(Panel().startsWith(ToUnicode("     当前北京时间为：")));
    auto toggle = Component<QPushButton>(window, kTimeToggleButton);
    toggle->click();
    QTest::qWait(2100);
    EXPECT_EQ(Panel(), QStringLiteral("     底部时间已停止")) << "stopped, and says so";
    toggle->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Panel().contains(QStringLiteral("年")); }, 3000))
        << "running again";
    bindings.reset(); // closes the connection the server waits on
}

// The server's clock is this machine's; its stamps lag up to 15 ms. Once the
// estimate has settled, the panel turns its second with the machine's.
TEST_F(BeijingClock, StaleStampsStillTurnTheSecondWithTheServer) {
    ScriptedServer server([](int fd, const std::atomic<bool>& stopping) {
        ServeClock(fd, stopping, std::chrono::milliseconds(15));
    });
    Start(server.Url("http"));
    QTest::qWait(30000); // the first narrowing, its checks on both sides, the climb
    std::vector<double> lateness;
    QString shown = Panel();
    for (auto end = Clock::now() + std::chrono::seconds(8); Clock::now() < end;) {
        QTest::qWait(1);
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
    EXPECT_LT(std::fabs(lateness[lateness.size() / 2]), 0.010)
        << lateness.front() << " to " << lateness.back();
}

// The number the tooltip states after `label`, in seconds (it states
// milliseconds); none when it states none.
std::optional<double> Stated(const QString& tip, const QString& label) {
    qsizetype at = tip.indexOf(label);
    if (at < 0) {
        return std::nullopt;
    }
    qsizetype end = at + label.size();
    while (end < tip.size() && tip[end].isDigit()) {
        ++end;
    }
    return tip.mid(at + label.size(), end - at - label.size()).toDouble() / 1000;
}

// Two machines behind one name answer in turn, the second's clock 700 ms
// behind the first's. From 15 s on each second shown lies within the bound
// the tooltip states of the nearer clock, and the tooltip names the
// difference within a fifth and which clock is shown.
TEST_F(BeijingClock, TwoMachinesInTurnAreFoundWithinFifteenSeconds) {
    std::atomic<int> turns = 0;
    ScriptedServer server([&turns](int fd, const std::atomic<bool>& stopping) {
        ServeClock(fd, stopping, std::chrono::milliseconds(0), &turns,
                   std::chrono::milliseconds(700));
    });
    Start(server.Url("http"));
    QTest::qWait(15000);
    QString shown = Panel();
    int turned = 0;
    for (auto end = Clock::now() + std::chrono::seconds(8); Clock::now() < end;) {
        QTest::qWait(1);
        if (Panel() == shown) {
            continue;
        }
        shown = Panel();
        ++turned;
        double at =
            std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
                .count();
        double nearer = 1;
        for (double clock : {at, at - 0.7}) {
            double since = clock - std::floor(clock);
            nearer = std::min({nearer, since, 1 - since});
        }
        QString tip = Pane()->toolTip();
        EXPECT_LE(nearer, Stated(tip, QStringLiteral("误差不超过 ")).value_or(0) + 0.001)
            << tip.toStdString();
        EXPECT_NEAR(Stated(tip, QStringLiteral("相差约 ")).value_or(0), 0.7, 0.14)
            << tip.toStdString();
        EXPECT_TRUE(tip.contains(QStringLiteral("网站至少有 2 台服务器"))) << tip.toStdString();
        EXPECT_TRUE(tip.contains(QStringLiteral("较快那台"))) << tip.toStdString();
    }
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return Panel().contains(QStringLiteral("年")); }, 5000));
    std::time_t opening = std::time(nullptr) + 6 + 8 * 3600; // Beijing time
    std::tm beijing{};
    gmtime_r(&opening, &beijing);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &beijing);
    window.SetContent(kOpeningTimeBox, text);
    bindings->countdown.OnOpeningTimeConfirmed();
    QStringList seen;
    for (auto end = Clock::now() + std::chrono::seconds(9); Clock::now() < end;) {
        QTest::qWait(5);
        if (seen.isEmpty() || seen.back() != Panel()) {
            seen.push_back(Panel());
        }
    }
    // The seconds counted, each once; while the lookups still check the
    // server's machines the count says it is about ("距开始约 …").
    QStringList counted;
    for (const QString& text : seen) {
        QString count = text.contains(QStringLiteral("距开始"))
                            ? text.mid(text.indexOf(QStringLiteral("00:")), 8)
                            : QStringLiteral("time");
        if (counted.isEmpty() || counted.back() != count) {
            counted.push_back(count);
        }
    }
    int at = int(counted.indexOf(QStringLiteral("00:00:03")));
    ASSERT_GE(at, 0) << seen.join(QStringLiteral(" | ")).toStdString();
    ASSERT_LT(at + 3, counted.size());
    EXPECT_EQ(counted[at + 1], QStringLiteral("00:00:02"));
    EXPECT_EQ(counted[at + 2], QStringLiteral("00:00:01"));
    EXPECT_EQ(counted[at + 3], QStringLiteral("time")) << "the opening";
    EXPECT_EQ(seen.back().left(int(ToUnicode("     当前北京时间为：").size())),
              ToUnicode("     当前北京时间为："));
    EXPECT_TRUE(seen.back().contains(QStringLiteral("年")));
    bindings.reset(); // closes the connection the server waits on
}

} // namespace

} // namespace orvane
