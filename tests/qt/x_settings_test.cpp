// The 配置 page's opening settings in a window on a real X server: the
// opening time typed key by key is stored only once confirmed and valid,
// and a time server named only in 信息.ini is the clock the panel shows.
#include "app/work_queues.h"
#include "profile/profile_file.h"
#include "program_bindings.h"
#include "qt/ansi.h"
#include "scripted_server.h"
#include "window/component_names.h"
#include "window_access.h"
#include "x_input.h"

#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>
#include <atomic>
#include <ctime>
#include <optional>
#include <thread>

namespace orvane {

namespace {

class SettingsOnX : public testing::Test {
protected:
    void Show() {
        window.SelectPage(5); // 配置
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    // Typed into the box as a hand types, after a click into it and Ctrl+A.
    void TypeInto(const std::string& box, const std::string& keys, xcb_keysym_t last) {
        auto* edit = Component<QLineEdit>(window, box);
        QPoint centre = edit->mapToGlobal(edit->rect().center());
        std::atomic<bool> done = false;
        std::thread hand([centre, keys, last, &done] {
            XInput input;
            input.Click(centre.x(), centre.y());
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            input.PressLikeAHand({XInput::kControl, 'a'}, std::chrono::milliseconds(80));
            input.TypeLikeAHand(keys);
            input.PressLikeAHand({last}, std::chrono::milliseconds(80));
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 10000));
        hand.join();
        QTest::qWait(200);
        DrainWorkQueues();
    }
    std::string Stored(const char* key) const {
        return ReadProfileItem(bindings.settings.Path("信息.ini"), "配置", key);
    }

    MainWindow window;
    ProgramBindings bindings{window};
};

// 09:00:60 passes through 09:00:6 on the way; neither is stored, the time
// before stays and the mark says so. 9:00 confirmed is stored as 09:00:00.
TEST_F(SettingsOnX, OnlyAConfirmedValidOpeningTimeIsStored) {
    ASSERT_TRUE(
        WriteProfileItem(bindings.settings.Path("信息.ini"), "配置", "开始时间", "10:00:00").Ok());
    bindings.countdown.Start(bindings.Stored());
    Show();
    TypeInto(kOpeningTimeBox, "09:00:60", XInput::kReturn);
    EXPECT_EQ(Stored("开始时间"), "10:00:00");
    EXPECT_TRUE(Component<QLineEdit>(window, kOpeningTimeBox)
                    ->toolTip()
                    .endsWith(QStringLiteral("；仍按 10:00:00 倒数")));
    TypeInto(kOpeningTimeBox, "9:00", XInput::kReturn);
    EXPECT_EQ(Stored("开始时间"), "09:00:00");
    EXPECT_EQ(window.GetContent(kOpeningTimeBox), "09:00:00");
    EXPECT_TRUE(Component<QLineEdit>(window, kOpeningTimeBox)->toolTip().isEmpty());
}

// A Date an hour ahead of this machine's clock.
void ServeAnHourAhead(int fd, const std::atomic<bool>& stopping) {
    while (ScriptedServer::ReadHead(fd, stopping)) {
        std::time_t ahead = std::time(nullptr) + 3600;
        std::tm gmt{};
        gmtime_r(&ahead, &gmt);
        char date[64];
        std::strftime(date, sizeof date, "%a, %d %b %Y %H:%M:%S GMT", &gmt);
        if (!ScriptedServer::SendAll(fd, "HTTP/1.1 200 OK\r\nDate: " + std::string(date) +
                                             "\r\nContent-Length: 0\r\n\r\n")) {
            return;
        }
    }
}

class TimeServerOnX : public testing::Test {
protected:
    QString Panel() {
        return Component<QStatusBar>(window, kStatusBar)->findChildren<QLabel*>().at(0)->text();
    }
    ScriptedServer server{ServeAnHourAhead};
    MainWindow window;
    std::optional<ProgramBindings> bindings;
};

TEST_F(TimeServerOnX, AServerNamedOnlyInTheFileIsTheClockShown) {
    bindings.emplace(window, std::nullopt); // no --time-url
    ASSERT_TRUE(WriteProfileItem(bindings->settings.Path("信息.ini"), "配置", "时间网址",
                                 server.Url("http"))
                    .Ok());
    bindings->countdown.Start(bindings->Stored());
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Panel().contains(QStringLiteral("年")); }, 8000))
        << Panel().toStdString();
    // Beijing time an hour on, now or at the second before.
    auto hourShown = [this](std::time_t at) {
        std::time_t ahead = at + 3600 + (std::time_t{8} * 3600);
        std::tm beijing{};
        gmtime_r(&ahead, &beijing);
        return Panel().contains(QStringLiteral("日%1时").arg(beijing.tm_hour));
    };
    std::time_t now = std::time(nullptr);
    EXPECT_TRUE(hourShown(now) || hourShown(now - 1)) << Panel().toStdString();
    EXPECT_TRUE(Component<QStatusBar>(window, kStatusBar)
                    ->findChildren<QLabel*>()
                    .at(0)
                    ->toolTip()
                    .contains(QString::fromStdString(server.Url("http"))));
    bindings.reset(); // closes the connection the server waits on
}

} // namespace

} // namespace orvane
