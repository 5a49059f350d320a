// The findings marked in the window as the user types and after a load,
// and the table paste, in a real window.
#include "app/work_queues.h"
#include "handlers/file_handlers.h"
#include "handlers/phone_fill.h"
#include "handlers/table_paste_handler.h"
#include "modal_box.h"
#include "program_bindings.h"
#include "temp_folder.h"
#include "window/component_names.h"
#include "window_access.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <memory>

namespace orvane {

namespace {

class FieldTools : public testing::Test {
protected:
    QLineEdit* Box(int group, const std::string& key) {
        return Component<QLineEdit>(window, EditBoxName(group, key));
    }
    bool Marked(int group, const std::string& key) {
        QLineEdit* box = Box(group, key);
        bool red = box->palette().color(QPalette::Text) == QColor(Qt::red);
        EXPECT_EQ(red, !box->toolTip().isEmpty());
        EXPECT_EQ(box->toolTip(), box->accessibleDescription());
        return red;
    }
    MainWindow window;
    ProgramBindings bindings{window};
};

TEST_F(FieldTools, ATypedIdIsMarkedUntilItIsRight) {
    QLineEdit* id = Box(2, IdKey());
    QTest::keyClicks(id, QStringLiteral("110105194912310021"));
    EXPECT_TRUE(Marked(2, IdKey()));
    EXPECT_EQ(id->toolTip(), QStringLiteral("校验位不对：按前17位，最后一位应是X"));
    QTest::keyClick(id, Qt::Key_Backspace);
    QTest::keyClicks(id, QStringLiteral("X"));
    EXPECT_FALSE(Marked(2, IdKey()));
    EXPECT_EQ(window.GetContent(EditBoxName(2, IdKey())), "11010519491231002X");
    EXPECT_FALSE(Marked(2, NameKey())) << "an empty field has no finding";
}

TEST_F(FieldTools, ALoadAndAFillAreCheckedToo) {
    TempFolder folder;
    folder.Write("信息.ini", "[第四组]\r\n手机号=12345678901\r\n");
    LoadApplicants(window, FileQueue(), folder.Path("信息.ini"));
    DrainWorkQueues();
    EXPECT_TRUE(Marked(4, PhoneKey()));
    window.SetContent(kAllPhoneBox, "13800138000");
    FillAllPhone(window);
    EXPECT_FALSE(Marked(4, PhoneKey()));
}

class TablePasteInWindow : public FieldTools {
protected:
    void Paste(const QString& table, ModalBoxAnswerer::Answer answer) {
        QGuiApplication::clipboard()->setText(table);
        ModalBoxAnswerer answerer(answer);
        PasteTableFromGroup(window, 24);
        ASSERT_TRUE(QTest::qWaitFor([&] { return answerer.count > 0; }, 3000));
        said = answerer.text;
    }
    // The entries of group 1's box's context menu, as it opens.
    QStringList MenuOf(const std::string& key) {
        QStringList entries;
        QTimer::singleShot(50, [&entries] {
            QWidget* popup = QApplication::activePopupWidget();
            for (QAction* action : popup->actions()) {
                if (!action->isSeparator()) {
                    entries << action->text();
                }
            }
            popup->close();
        });
        QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(1, 1), QPoint(1, 1));
        QApplication::sendEvent(Box(1, key), &open);
        return entries;
    }
    QString said;
};

TEST_F(TablePasteInWindow, ConfirmedRowsAreWrittenAndTheRestNamed) {
    window.SetContent(EditBoxName(25, NameKey()), "旧");
    Paste(QStringLiteral("张三\t11010519491231002X\t13800138000\n"
                         "李四\t440304200002291236\t13900139000\n"
                         "王五\t310104198001011239\t13700137000\n"),
          ModalBoxAnswerer::Answer::ClickOk);
    EXPECT_TRUE(said.contains(QStringLiteral("第二十五组已有内容，将被覆盖")));
    EXPECT_TRUE(said.contains(QStringLiteral("超出第二十五组的1行不会写入")));
    EXPECT_EQ(window.GetContent(EditBoxName(24, NameKey())), "张三");
    EXPECT_EQ(window.GetContent(EditBoxName(25, PhoneKey())), "13900139000");
    EXPECT_EQ(MenuOf(NameKey()).last(), QStringLiteral("从本组起粘贴表格"))
        << "the paste sits in the name box's context menu";
    EXPECT_TRUE(MenuOf(IdKey()).first().startsWith(QStringLiteral("撤消")))
        << "the standard entries in Chinese";
    EXPECT_FALSE(MenuOf(IdKey()).contains(QStringLiteral("从本组起粘贴表格")));
}

TEST_F(TablePasteInWindow, AMalformedTableOrACancelWritesNothing) {
    Paste(QStringLiteral("张三\t11010519491231002X\t13800138000\n李四\t13900139000\n"),
          ModalBoxAnswerer::Answer::ClickOk);
    EXPECT_TRUE(said.contains(QStringLiteral("第2行有2项")));
    EXPECT_EQ(window.GetContent(EditBoxName(24, NameKey())), "");
    Paste(QStringLiteral("张三\t11010519491231002X\t13800138000\n"),
          ModalBoxAnswerer::Answer::PressEscape);
    EXPECT_EQ(window.GetContent(EditBoxName(24, NameKey())), "") << "cancelled";
}

} // namespace

} // namespace orvane
