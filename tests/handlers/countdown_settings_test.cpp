// The 配置 page's opening settings as the handlers keep them: the time
// server's address confirmed, refused or waiting for the next start, and a
// setting that cannot be written going back to what the file holds.
#include "app/work_queues.h"
#include "desk.h"
#include "files/native_path.h"
#include "profile/profile_file.h"
#include "program_bindings.h"
#include "window/component_names.h"

#include <filesystem>

namespace orvane {

namespace {

class TimeUrl : public DeskTest {};

TEST_F(TimeUrl, AnHttpAddressIsStoredAndFollowedAnythingElseIsRefused) {
    ProgramBindings bindings(window, std::nullopt);
    std::string file = bindings.settings.Path("信息.ini");
    bindings.countdown.Start(bindings.Stored());
    window.SetContent(kTimeUrlBox, "ftp://bank.example/");
    bindings.countdown.OnTimeUrlConfirmed();
    DrainWorkQueues();
    EXPECT_EQ(ReadProfileItem(file, "配置", "时间网址"), "");
    EXPECT_TRUE(TipOf(window, kTimeUrlBox).starts_with("时间网址不能用："));
    EXPECT_TRUE(TipOf(window, kTimeUrlBox).ends_with("；仍按默认网址取时间"));

    window.SetContent(kTimeUrlBox, " http://127.0.0.1:9/预约 ");
    bindings.countdown.OnTimeUrlConfirmed();
    DrainWorkQueues();
    EXPECT_EQ(ReadProfileItem(file, "配置", "时间网址"), "http://127.0.0.1:9/预约");
    EXPECT_EQ(TipOf(window, kTimeUrlBox), "");
    bindings.clock.Tick();
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "http://127.0.0.1:9/", PanelTipOf(window, kTimePanel))
        << "the clock's tooltip names the server it follows";
}

// The command line's --time-url counts for its run; the page's address is
// kept for the next start, and the box says so, also with none stored.
TEST_F(TimeUrl, TheCommandLinesAddressCountsForItsRun) {
    ProgramBindings bindings(window, kNoTimeServer);
    ASSERT_TRUE(WriteProfileItem(bindings.settings.Path("信息.ini"), "配置", "时间网址",
                                 "http://bank.example/")
                    .Ok());
    bindings.countdown.Start(bindings.Stored());
    EXPECT_EQ(window.GetContent(kTimeUrlBox), "http://bank.example/");
    EXPECT_TRUE(TipOf(window, kTimeUrlBox).starts_with("这次按命令行 --time-url"));
    EXPECT_PRED_FORMAT2(testing::IsSubstring, kNoTimeServer, TipOf(window, kTimeUrlBox))
        << "it names the server followed";
    bindings.clock.Tick();
    EXPECT_PRED_FORMAT2(testing::IsSubstring, kNoTimeServer, PanelTipOf(window, kTimePanel));

    std::unique_ptr<Window> plain = NewDeskWindow();
    ProgramBindings none(*plain, kNoTimeServer);
    none.countdown.Start(none.Stored());
    EXPECT_EQ(plain->GetContent(kTimeUrlBox), "");
    EXPECT_TRUE(TipOf(*plain, kTimeUrlBox).starts_with("这次按命令行 --time-url"));
}

// A file that cannot be written (here a folder stands where it would be):
// the box says why, and 提示音 and 开始时间 show what the file holds.
class SettingsNotWritten : public DeskTest {};

TEST_F(SettingsNotWritten, TheControlGoesBackToWhatTheFileHolds) {
    ProgramBindings bindings(window);
    std::filesystem::create_directory(PathOf(bindings.settings.Path("信息.ini")));
    bindings.countdown.Start(bindings.Stored());
    ASSERT_TRUE(window.GetTicked(kSoundBox));
    Click(window, kSoundBox);
    DrainWorkQueues();
    std::vector<Message> boxes = TakeMessages();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "保存失败");
    EXPECT_TRUE(window.GetTicked(kSoundBox)) << "as the file holds it: on";
    window.SetContent(kOpeningTimeBox, "9:30");
    bindings.countdown.OnOpeningTimeConfirmed();
    DrainWorkQueues();
    EXPECT_EQ(window.GetContent(kOpeningTimeBox), "");
    EXPECT_EQ(TakeMessages().size(), 1u);
}

} // namespace

} // namespace orvane
