#include "handlers/field_copy.h"
#include "text/ansi_literals.h"
#include "timer_ends.h"
#include "window/component_names.h"
#include "window_access.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

namespace orvane {

namespace {

class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    MainWindow window;
};

// Clipboard managers and their histories keep no copy of a field.
TEST_F(WindowTest, ACopyIsMarkedSecret) {
    window.SetContent(EditBoxName(3, NameKey()), "张三");
    CopyField(window, 3, NameKey());
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(data->data(QStringLiteral("x-kde-passwordManagerHint")), "secret");
    EXPECT_EQ(ClipboardText(), "张三");
}

TEST_F(WindowTest, FixedSizeTitleAndButtons) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Orvane"));
    EXPECT_EQ(window.size(), QSize(315, 671));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(WindowTest, OpensOnPageOneWithItsGroupsAndCheckBoxes) {
    EXPECT_EQ(window.CurrentPage(), 0);
    for (int n = 1; n <= kGroupCount; ++n) {
        EXPECT_EQ(Component(window, GroupBoxName(n))->isVisible(), n <= 5) << n;
    }
    EXPECT_TRUE(Component(window, kRememberBox)->isVisible());
    window.SelectPage(1);
    EXPECT_FALSE(Component(window, kRememberBox)->isVisible());
    EXPECT_TRUE(Component(window, GroupBoxName(7))->isVisible());
}

// The window-level buttons and the status bar lie in front of the tab
// control: on every page the point under each one's centre belongs to it.
TEST_F(WindowTest, WindowButtonsStayInFrontOnEveryPage) {
    for (int page = 0; page < 6; ++page) {
        window.SelectPage(page);
        for (const std::string& name : {kSaveButton, kLoadButton, kStatusBar}) {
            QWidget* widget = Component(window, name);
            QPoint centre = widget->geometry().center();
            QWidget* hit = window.childAt(centre);
            EXPECT_TRUE(hit == widget || widget->isAncestorOf(hit)) << "page " << page;
        }
    }
    window.SelectPage(5);
    for (int n = 1; n <= kGroupCount; ++n) {
        EXPECT_FALSE(Component(window, GroupBoxName(n))->isVisible());
    }
}

TEST_F(WindowTest, EscapeClosesFromAnEditBoxAndFromAButton) {
    auto* edit = Component<QLineEdit>(window, EditBoxName(4, IdKey()));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());

    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* button = Component<QPushButton>(window, kSaveButton);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(WindowTest, ComponentOperations) {
    window.SetContent(EditBoxName(2, NameKey()), "李四");
    EXPECT_EQ(window.GetContent(EditBoxName(2, NameKey())), "李四");
    EXPECT_EQ(window.GetContent(EditBoxName(3, NameKey())), "");

    window.SetTicked(kTopmostBox, true);
    EXPECT_TRUE(window.GetTicked(kTopmostBox));
    EXPECT_TRUE(Component<QCheckBox>(window, kTopmostBox)->isChecked());

    EXPECT_EQ(window.GetInterval(kTicker), 900);
    window.SetInterval(kTicker, 0);
    EXPECT_EQ(window.GetInterval(kTicker), 0);
    window.SetInterval(kTicker, 900);
    EXPECT_EQ(window.GetInterval(kTicker), 900);

    window.FocusComponent(EditBoxName(2, IdKey()));
    EXPECT_EQ(QApplication::focusWidget(), Component(window, EditBoxName(2, IdKey())));
    window.FocusComponent(kAllPhoneBox); // on a page not shown: typing would land unseen
    EXPECT_EQ(QApplication::focusWidget(), Component(window, EditBoxName(1, NameKey())));
    EXPECT_EQ(window.CurrentPage(), 0) << "focusing must not change the page";
}

// A finding or a tip quoting a long value (a 10 KB name, an address)
// shows a few lines and says how long the whole was.
TEST_F(WindowTest, LongFindingsShowAFewLinesAndSayTheirLength) {
    std::string name(10240, 'x');
    window.SetFinding(EditBoxName(1, NameKey()), "姓名“" + name + "”有误\n第二行");
    QString tip = Component<QLineEdit>(window, EditBoxName(1, NameKey()))->toolTip();
    EXPECT_LE(tip.count(QLatin1Char('\n')), 6);
    EXPECT_LT(tip.size(), 400);
    EXPECT_TRUE(tip.endsWith(QStringLiteral("（原文共 10250 个字，这里只显示一部分）")))
        << tip.toStdString();
    std::string lines;
    for (int line = 1; line <= 9; ++line) {
        lines += "第" + std::to_string(line) + "行\n";
    }
    window.SetStatusPanelTip(kStatusBar, kTimePanel, lines);
    tip = Component<QStatusBar>(window, kStatusBar)->findChildren<QLabel*>().at(0)->toolTip();
    EXPECT_TRUE(tip.startsWith(QStringLiteral("第1行\n第2行")));
    EXPECT_FALSE(tip.contains(QStringLiteral("第7行")));
    window.SetFinding(EditBoxName(1, NameKey()), "短的");
    EXPECT_EQ(Component<QLineEdit>(window, EditBoxName(1, NameKey()))->toolTip(),
              QStringLiteral("短的"));
}

// The time on the left, the hot key's line on the right; both whole.
TEST_F(WindowTest, TheStatusBarHoldsTheTimeAndTheTypingLine) {
    window.SetStatusPanelText(kStatusBar, kTimePanel, "距开始约 00:02:13，时钟误差超过 0.5 秒");
    window.SetStatusPanelText(kStatusBar, kTypingPanel, "没有输入：焦点在本程序");
    window.SetStatusPanelText(kStatusBar, 2, "不该出现");
    window.SetStatusPanelText(kStatusBar, -1, "不该出现");
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto panes = Component<QStatusBar>(window, kStatusBar)->findChildren<QLabel*>();
    ASSERT_EQ(panes.size(), 2);
    EXPECT_EQ(panes[0]->text(), QStringLiteral("距开始约 00:02:13，时钟误差超过 0.5 秒"));
    EXPECT_EQ(panes[1]->text(), QStringLiteral("没有输入：焦点在本程序"));
    EXPECT_LE(panes[0]->geometry().right(), panes[1]->geometry().left());
    EXPECT_LE(panes[1]->geometry().right(), window.width());
}

TEST_F(WindowTest, ATimersTasksEndWithIt) {
    ExpectTimerTasksEndWithTheTimer(window, [](const std::function<bool()>& held, int limit) {
        return QTest::qWaitFor(held, limit);
    });
}

} // namespace

} // namespace orvane
