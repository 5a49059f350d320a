// The window on a real X server (Xvfb), driven through XTEST: a program that
// holds the clipboard and never hands it over holds no click, and the paste
// gives up after a second, saying so.
#include "modal_box.h"
#include "program_bindings.h"
#include "window/component_names.h"
#include "window_access.h"
#include "x_input.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <chrono>

namespace orvane {

namespace {

QPoint CenterOf(QWidget* widget) {
    return widget->mapToGlobal(widget->rect().center());
}

// Through the X server as a user pastes: Ctrl+V reads the clipboard over a
// connection of its own, and the box keeps the first line.
class XClipboard : public testing::Test {
protected:
    // Shows the window and clicks into the group's name box.
    QLineEdit* ClickIntoName(int group) {
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        auto* name = Component<QLineEdit>(window, EditBoxName(group, NameKey()));
        QPoint box = CenterOf(name);
        hand.Click(box.x(), box.y());
        EXPECT_TRUE(QTest::qWaitFor([&] { return name->hasFocus(); }, 3000));
        return name;
    }
    MainWindow window;
    ProgramBindings bindings{window};
    XInput hand;
};

TEST_F(XClipboard, CtrlVPastesTheFirstLineThroughTheXServer) {
    QLineEdit* name = ClickIntoName(2);
    QGuiApplication::clipboard()->setText(QStringLiteral("张三\r\n[第二组]\r\n姓名=李四"));
    hand.Chord({XInput::kControl, 'v'});
    EXPECT_TRUE(QTest::qWaitFor([&] { return name->text() == QStringLiteral("张三"); }, 3000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return name->toolTip() == QStringLiteral("粘贴内容有多行，只保留了第一行"); }, 1000))
        << name->toolTip().toStdString();
}

TEST_F(XClipboard, AnOwnerThatNeverAnswersHoldsNoClick) {
    QLineEdit* name = ClickIntoName(1);

    SilentClipboardOwner hung;
    ModalBoxAnswerer answerer;
    hand.Chord({XInput::kControl, 'v'});
    QTest::qWait(100); // the paste is under way
    window.SetEnabled(CopyButtonName(2, NameKey()), false);
    auto* restore = Component<QPushButton>(window, RestoreButtonName(2));
    QPoint button = CenterOf(restore);
    auto clicked = std::chrono::steady_clock::now();
    hand.Click(button.x(), button.y());
    auto* copy = Component<QPushButton>(window, CopyButtonName(2, NameKey()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return copy->isEnabled(); }, 3000));
    EXPECT_LT(std::chrono::steady_clock::now() - clicked, std::chrono::milliseconds(300));
    ASSERT_TRUE(QTest::qWaitFor([&] { return answerer.count > 0; }, 3000));
    EXPECT_TRUE(answerer.text.startsWith(QStringLiteral("剪贴板没有响应")));
    EXPECT_EQ(name->text(), QString()) << "nothing pasted";
}

} // namespace

} // namespace orvane
