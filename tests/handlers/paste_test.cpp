// What a box shows is what is copied, saved and read back: pastes into the
// boxes of a real window, with Ctrl+V as the user presses it.
#include "app/work_queues.h"
#include "handlers/file_handlers.h"
#include "profile/profile_file.h"
#include "program_bindings.h"
#include "storage/information_file.h"
#include "temp_folder.h"
#include "window/component_names.h"
#include "window/window_thread.h"
#include "window_access.h"

#include <QLineEdit>
#include <QTest>

namespace orvane {

namespace {

class Paste : public testing::Test {
protected:
    QLineEdit* Box(const std::string& name) { return Component<QLineEdit>(window, name); }
    void PasteInto(const std::string& name, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(Box(name), Qt::Key_V, Qt::ControlModifier);
        RunPostedTasks();                  // the clipboard's answer
        QCoreApplication::processEvents(); // the findings, once the paste is done
    }
    InformationRead SavedAndReadBack() {
        SaveApplicants(window, FileQueue(), file);
        DrainWorkQueues();
        return ReadInformationFile(file).ValueOr({});
    }
    MainWindow window;
    ProgramBindings bindings{window};
    TempFolder folder;
    std::string file = folder.Path("信息.ini");
};

// A spreadsheet copies a cell with a line break after it.
TEST_F(Paste, ASpreadsheetCellLandsExactlyInEachKindOfBox) {
    const std::pair<std::string, QString> cells[] = {
        {EditBoxName(1, NameKey()), QStringLiteral("张三")},
        {EditBoxName(1, IdKey()), QStringLiteral("11010519491231002X")},
        {EditBoxName(1, PhoneKey()), QStringLiteral("13800138000")},
        {PagePhoneBoxName(2), QStringLiteral("13900139000")},
        {kAllPhoneBox, QStringLiteral("13700137000")},
    };
    for (const auto& [name, cell] : cells) {
        PasteInto(name, cell + QStringLiteral("\r\n"));
        EXPECT_EQ(Box(name)->text(), cell);
        EXPECT_EQ(Box(name)->toolTip(), QString()) << "nothing left out, nothing wrong";
    }
}

TEST_F(Paste, MoreLinesNeverReachTheFileAndTheFindingSaysSo) {
    const std::string name = EditBoxName(1, NameKey());
    window.SetContent(EditBoxName(2, NameKey()), "李四");
    PasteInto(name, QStringLiteral("张三\r\n[第二组]\r\n身份证=110105194912310021"));
    EXPECT_EQ(window.GetContent(name), "张三");
    EXPECT_EQ(Box(name)->toolTip(), QStringLiteral("粘贴内容有多行，只保留了第一行"));
    InformationRead read = SavedAndReadBack();
    EXPECT_EQ(read.applicants.Field(1, NameKey()), "张三");
    EXPECT_EQ(read.applicants.Field(2, NameKey()), "李四");
    EXPECT_EQ(read.applicants.Field(2, IdKey()), "") << "no section injected";

    QTest::keyClicks(Box(name), QStringLiteral("x"));
    QCoreApplication::processEvents();
    EXPECT_EQ(Box(name)->toolTip(), QString()) << "the note goes with the next edit";
}

TEST_F(Paste, TooMuchIsCutAtACharacterAndTheFindingSaysSo) {
    const std::string id = EditBoxName(3, IdKey());
    PasteInto(id, QStringLiteral("11010519491231002X9999"));
    EXPECT_EQ(window.GetContent(id), "11010519491231002X");
    EXPECT_EQ(Box(id)->toolTip(), QStringLiteral("粘贴内容超出长度，已截断为前18个字符"));

    const std::string name = EditBoxName(4, NameKey());
    PasteInto(name, QString(100000, QChar(0x4E2D))); // 中
    EXPECT_EQ(window.GetContent(name).size(), kProfileValueLimit - 1) << "5119 whole characters";
    EXPECT_EQ(Box(name)->toolTip(), QStringLiteral("粘贴内容超出长度，已截断为前5119个字符"));
    EXPECT_EQ(SavedAndReadBack().applicants.Field(4, NameKey()), window.GetContent(name))
        << "the file keeps all the box shows";
}

} // namespace

} // namespace orvane
