// The findings marked in the Qt window as the user types, and the table
// paste in the name box's context menu.
#include "program_bindings.h"
#include "window/component_names.h"
#include "window_access.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

namespace orvane {

namespace {

class FieldTools : public testing::Test {
protected:
    QLineEdit* Box(int group, const std::string& key) {
        return Component<QLineEdit>(window, EditBoxName(group, key));
    }
    // As the box shows it once the typing in hand is done.
    bool Marked(int group, const std::string& key) {
        QCoreApplication::processEvents();
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

class TablePasteInWindow : public FieldTools {
protected:
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
};

// The paste sits in the name box's context menu, after the standard entries
// in Chinese.
TEST_F(TablePasteInWindow, TheNameBoxesMenuOffersThePaste) {
    EXPECT_EQ(MenuOf(NameKey()).last(), QStringLiteral("从本组起粘贴表格"));
    EXPECT_TRUE(MenuOf(IdKey()).first().startsWith(QStringLiteral("撤消")));
    EXPECT_FALSE(MenuOf(IdKey()).contains(QStringLiteral("从本组起粘贴表格")));
}

} // namespace

} // namespace orvane
