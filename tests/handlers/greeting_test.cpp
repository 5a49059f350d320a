#include "files/native_path.h"
#include "modal_box.h"
#include "program_bindings.h"
#include "storage/information_file.h"
#include "text/ansi_literals.h"
#include "window/component_names.h"
#include "window/message_box.h"
#include "window_access.h"

#include <fstream>

namespace orvane {

namespace {

class StartUp : public testing::Test {
protected:
    void WriteInformationFile(const std::string& bytes) const {
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
