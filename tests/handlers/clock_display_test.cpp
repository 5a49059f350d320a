// The status bar's Beijing time in a real window against time servers on
// 127.0.0.1: one that keeps a clock, one that never answers.
#include "program_bindings.h"
#include "runtime/ansi_literals.h"
#include "scripted_server.h"
#include "window/component_names.h"
#include "window_access.h"

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <ctime>
#include <optional>

namespace orvane {

namespace {

// Answers every HEAD request with the machine's time as its Date.
void ServeClock(int fd, const std::atomic<bool>& stopping) {
    while (ScriptedServer::ReadHead(fd, stopping)) {
        std::time_t now = std::time(nullptr);
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
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Pane()->toolTip().isEmpty(); }, 5000));
    EXPECT_EQ(Panel(), ToUnicode("     当前北京时间为：获取失败，正在重试"));
    EXPECT_EQ(Pane()->toolTip(), ToUnicode("北京时间取自 " + kNoTimeServer +
                                           "。\n最近一次获取失败：服务器拒绝连接。"));
}

TEST_F(BeijingClock, TheSwitchFreezesTheTimeAndResumesIt) {
    ScriptedServer server(ServeClock);
    Start(server.Url("http"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Panel().contains(QStringLiteral("年")); }, 5000));
    EXPECT_TRUE(Panel().startsWith(ToUnicode("     当前北京时间为：")));
    auto toggle = Component<QPushButton>(window, kTimeToggleButton);
    toggle->click();
    QString frozen = Panel();
    QTest::qWait(2100);
    EXPECT_EQ(Panel(), frozen) << "stopped: the text stays";
    toggle->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Panel() != frozen; }, 3000)) << "running again";
}

} // namespace

} // namespace orvane
