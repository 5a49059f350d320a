// The start: the greeting, then one read of the information file for the
// applicants and the 配置 page.
#include "desk.h"
#include "files/native_path.h"
#include "profile/profile_file.h"
#include "program_bindings.h"
#include "window/component_names.h"

#include <fstream>

namespace orvane {

namespace {

class StartUp : public DeskTest {
protected:
    void WriteInformationFile(const std::string& bytes) const {
        std::ofstream(PathOf(bindings.countdown.File()), std::ios::binary) << bytes;
    }
    ProgramBindings bindings{window};
};

TEST_F(StartUp, AStartWithoutAFileTicksTheBoxAndCreatesNoFile) {
    window.FinishCreation();
    EXPECT_EQ(TakeMessages().size(), 1u) << "the greeting alone";
    EXPECT_TRUE(window.GetTicked(kRememberBox));
    EXPECT_FALSE(std::ifstream(PathOf(bindings.countdown.File())).is_open());
}

// One read gives the applicants and the 配置 page alike; one that fails is
// told once, and the settings start from their defaults.
TEST_F(StartUp, OneReadFillsTheApplicantsAndTheSettings) {
    WriteInformationFile("[第一组]\r\n姓名=张三\r\n[配置]\r\n开始时间=09:30:00\r\n"
                         "提示音=假\r\n输入热键=Ctrl+Alt+B\r\n");
    window.FinishCreation();
    EXPECT_EQ(TakeMessages().size(), 1u);
    EXPECT_EQ(window.GetContent(EditBoxName(1, NameKey())), "张三");
    EXPECT_EQ(window.GetContent(kOpeningTimeBox), "09:30:00");
    EXPECT_FALSE(window.GetTicked(kSoundBox));
    EXPECT_EQ(window.GetContent(kHotKeyBox), "Ctrl+Alt+B");
}

TEST_F(StartUp, AFileThatCannotBeReadIsToldOnce) {
    WriteInformationFile(std::string(kProfileFileLimit + 1, ';'));
    window.FinishCreation();
    std::vector<Message> boxes = TakeMessages();
    ASSERT_EQ(boxes.size(), 2u) << "the greeting, then why nothing was read";
    EXPECT_EQ(boxes[1].caption, "读取失败");
    EXPECT_TRUE(window.GetTicked(kSoundBox)) << "as without a file";
    EXPECT_EQ(window.GetContent(kHotKeyBox), "Ctrl+Alt+V");
}

} // namespace

} // namespace orvane
