#include "files/native_path.h"
#include "modal_box.h"
#include "program_bindings.h"
#include "storage/information_file.h"
#include "text/ansi_literals.h"
#include "window/component_names.h"
#include "window/message_box.h"
#include "window_access.h"

#include <QFile>
#include <fstream>
#include <sys/stat.h>

namespace orvane {

namespace {

class StartUp : public testing::Test {
protected:
    void WriteInformationFile(const std::string& bytes) {
        std::ofstream(NativePath(bindings.countdown.File()), std::ios::binary) << bytes;
    }
    MainWindow window;
    ProgramBindings bindings{window};
};

TEST_F(StartUp, GreetingAloneFirstThenTheLoadThenTheFocus) {
    WriteInformationFile("[第一组]\r\n姓名=张三\r\n");
    std::string nameDuringGreeting = "?";
    bool tickedDuringGreeting = true;
    bool windowShownDuringGreeting = true;
    ModalBoxAnswerer answerer(ModalBoxAnswerer::Answer::ClickOk, [&] {
        nameDuringGreeting = window.GetContent(EditBoxName(1, NameKey()));
        tickedDuringGreeting = window.GetTicked(kRememberBox);
        windowShownDuringGreeting = window.isVisible();
    });
    window.FinishCreation();

    EXPECT_EQ(answerer.count, 1);
    EXPECT_EQ(answerer.text,
              QStringLiteral("希望本软件能提高您预约纪念币的成功率，感谢您的使用。"));
    EXPECT_EQ(answerer.caption, QStringLiteral("信息："));
    EXPECT_EQ(answerer.icon, QMessageBox::NoIcon);
    EXPECT_EQ(answerer.buttonTexts, QStringList{QStringLiteral("确定")});
    EXPECT_EQ(nameDuringGreeting, "");
    EXPECT_FALSE(tickedDuringGreeting);
    EXPECT_FALSE(windowShownDuringGreeting);

    EXPECT_EQ(window.GetContent(EditBoxName(1, NameKey())), "张三");
    EXPECT_TRUE(window.GetTicked(kRememberBox));
    EXPECT_EQ(Component(window, kSaveButton)->toolTip(),
              ToUnicode("保存到 " + bindings.countdown.File()))
        << "where the file is";
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QCoreApplication::processEvents();
    // The all-pages phone box lies on the 配置 page, not shown: typing would
    // land there unseen, so the focus is in the shown page's first field.
    EXPECT_EQ(QApplication::focusWidget(), Component(window, EditBoxName(1, NameKey())));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("139"));
    EXPECT_EQ(window.GetContent(EditBoxName(1, NameKey())), "张三139")
        << "typing goes to the focused box";
    EXPECT_EQ(window.CurrentPage(), 0) << "the window opens on 第一页";
}

TEST_F(StartUp, AStartWithoutAFileTicksTheBoxAndCreatesNoFile) {
    ModalBoxAnswerer answerer;
    window.FinishCreation();
    EXPECT_TRUE(window.GetTicked(kRememberBox));
    EXPECT_FALSE(QFile::exists(ToUnicode(bindings.countdown.File())));
}

// One read gives the applicants and the 配置 page alike; one that fails is
// told once, and the settings start from their defaults.
TEST_F(StartUp, OneReadFillsTheApplicantsAndTheSettings) {
    WriteInformationFile("[第一组]\r\n姓名=张三\r\n[配置]\r\n开始时间=09:30:00\r\n"
                         "提示音=假\r\n输入热键=Ctrl+Alt+B\r\n");
    ModalBoxAnswerer greeting;
    window.FinishCreation();
    EXPECT_EQ(greeting.count, 1);
    EXPECT_EQ(window.GetContent(EditBoxName(1, NameKey())), "张三");
    EXPECT_EQ(window.GetContent(kOpeningTimeBox), "09:30:00");
    EXPECT_FALSE(window.GetTicked(kSoundBox));
    EXPECT_EQ(window.GetContent(kHotKeyBox), "Ctrl+Alt+B");
}

TEST_F(StartUp, AFileThatCannotBeReadIsToldOnce) {
    ::mkfifo(NativePath(bindings.countdown.File()).c_str(), 0600);
    ModalBoxAnswerer boxes;
    window.FinishCreation();
    EXPECT_EQ(boxes.count, 2) << "the greeting, then why nothing was read";
    EXPECT_EQ(boxes.caption, QStringLiteral("读取失败"));
    EXPECT_TRUE(window.GetTicked(kSoundBox)) << "as without a file";
    EXPECT_EQ(window.GetContent(kHotKeyBox), "Ctrl+Alt+V");
}

TEST_F(StartUp, EscapeAndTheCloseBoxDismissTheGreetingAsOk) {
    for (auto answer :
         {ModalBoxAnswerer::Answer::PressEscape, ModalBoxAnswerer::Answer::CloseBox}) {
        ModalBoxAnswerer answerer(answer);
        EXPECT_TRUE(
            ShowMessageBox({.text = "希望本软件能提高您预约纪念币的成功率，感谢您的使用。"}));
        EXPECT_EQ(answerer.count, 1);
    }
}

TEST_F(StartUp, TheInformationFileSitsBesideTheProgram) {
    QString expected = QCoreApplication::applicationDirPath() + QStringLiteral("/信息.ini");
    EXPECT_EQ(ToUnicode(InformationFilePath()), expected);
}

} // namespace

} // namespace orvane
