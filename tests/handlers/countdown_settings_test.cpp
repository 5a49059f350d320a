// The 配置 page's opening settings as the handlers keep them: the time
// server's address confirmed, refused or waiting for the next start, and a
// setting that cannot be written going back to what the file holds.
#include "app/work_queues.h"
#include "files/native_path.h"
#include "modal_box.h"
#include "profile/profile_file.h"
#include "program_bindings.h"
#include "window/component_names.h"
#include "window_access.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <filesystem>

namespace orvane {

namespace {

QString TipOf(MainWindow& window, const std::string& box) {
    return Component<QLineEdit>(window, box)->toolTip();
}

TEST(TimeUrl, AnHttpAddressIsStoredAndFollowedAnythingElseIsRefused) {
    MainWindow window;
    ProgramBindings bindings(window, std::nullopt);
    std::string file = bindings.settings.Path("信息.ini");
    bindings.countdown.Start(bindings.Stored());
    window.SetContent(kTimeUrlBox, "ftp://bank.example/");
    bindings.countdown.OnTimeUrlConfirmed();
    DrainWorkQueues();
    EXPECT_EQ(ReadProfileItem(file, "配置", "时间网址"), "");
    EXPECT_TRUE(TipOf(window, kTimeUrlBox).startsWith(QStringLiteral("时间网址不能用：")));
    EXPECT_TRUE(TipOf(window, kTimeUrlBox).endsWith(QStringLiteral("；仍按默认网址取时间")));

    window.SetContent(kTimeUrlBox, " http://127.0.0.1:9/预约 ");
    bindings.countdown.OnTimeUrlConfirmed();
    DrainWorkQueues();
    EXPECT_EQ(ReadProfileItem(file, "配置", "时间网址"), "http://127.0.0.1:9/预约");
    EXPECT_TRUE(TipOf(window, kTimeUrlBox).isEmpty());
    bindings.clock.Tick();
    EXPECT_TRUE(Component<QStatusBar>(window, kStatusBar)
                    ->findChildren<QLabel*>()
                    .at(kTimePanel)
                    ->toolTip()
                    .contains(QStringLiteral("http://127.0.0.1:9/")))
        << "the clock's tooltip names the server it follows";
}

// The command line's --time-url counts for its run; the page's address is
// kept for the next start, and the box says so, also with none stored.
TEST(TimeUrl, TheCommandLinesAddressCountsForItsRun) {
    MainWindow window;
    ProgramBindings bindings(window, kNoTimeServer);
    ASSERT_TRUE(WriteProfileItem(bindings.settings.Path("信息.ini"), "配置", "时间网址",
                                 "http://bank.example/")
                    .Ok());
    bindings.countdown.Start(bindings.Stored());
    EXPECT_EQ(window.GetContent(kTimeUrlBox), "http://bank.example/");
    EXPECT_TRUE(TipOf(window, kTimeUrlBox).startsWith(QStringLiteral("这次按命令行 --time-url")));
    EXPECT_TRUE(TipOf(window, kTimeUrlBox).contains(QString::fromStdString(kNoTimeServer)))
        << "it names the server followed";
    bindings.clock.Tick();
    EXPECT_TRUE(Component<QStatusBar>(window, kStatusBar)
                    ->findChildren<QLabel*>()
                    .at(kTimePanel)
                    ->toolTip()
                    .contains(QString::fromStdString(kNoTimeServer)));

    MainWindow plain;
    ProgramBindings none(plain, kNoTimeServer);
    none.countdown.Start(none.Stored());
    EXPECT_EQ(plain.GetContent(kTimeUrlBox), "");
    EXPECT_TRUE(TipOf(plain, kTimeUrlBox).startsWith(QStringLiteral("这次按命令行 --time-url")));
}

// A file that cannot be written (here a folder stands where it would be):
// the box says why, and 提示音 and 开始时间 show what the file holds.
TEST(SettingsNotWritten, TheControlGoesBackToWhatTheFileHolds) {
    MainWindow window;
    ProgramBindings bindings(window);
    std::filesystem::create_directory(PathOf(bindings.settings.Path("信息.ini")));
    bindings.countdown.Start(bindings.Stored());
    ASSERT_TRUE(window.GetTicked(kSoundBox));
    ModalBoxAnswerer boxes;
    Component<QAbstractButton>(window, kSoundBox)->click();
    DrainWorkQueues();
    EXPECT_EQ(boxes.count, 1);
    EXPECT_EQ(boxes.caption, QStringLiteral("保存失败"));
    EXPECT_TRUE(window.GetTicked(kSoundBox)) << "as the file holds it: on";
    window.SetContent(kOpeningTimeBox, "9:30");
    bindings.countdown.OnOpeningTimeConfirmed();
    DrainWorkQueues();
    EXPECT_EQ(window.GetContent(kOpeningTimeBox), "");
    EXPECT_EQ(boxes.count, 2);
}

} // namespace

} // namespace orvane
