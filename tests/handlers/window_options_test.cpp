#include "program_bindings.h"
#include "text/ansi_literals.h"
#include "window/component_names.h"
#include "window_access.h"

#include <QCheckBox>
#include <QTest>
#include <QWindow>

namespace orvane {

namespace {

class WindowOptions : public testing::Test {
protected:
    void SetUp() override {
        other.setWindowTitle(QStringLiteral("别的窗口"));
        other.show();
        window.show();
        Activate(window);
    }
    static void Activate(QWidget& w) {
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    bool OnTop() { return window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint); }
    void ClickTopmost() { Component<QCheckBox>(window, kTopmostBox)->click(); }

    MainWindow window;
    ProgramBindings bindings{window};
    QWidget other;
};

TEST_F(WindowOptions, TickingPutsTheWindowOnTopInPlaceAndBringsItForward) {
    window.SetContent(EditBoxName(2, NameKey()), "李四");
    window.SetEnabled(CopyButtonName(2, NameKey()), false);
    const QPoint place = window.pos();
    const WId native = window.winId();
    Activate(other);

    ClickTopmost();
    EXPECT_TRUE(OnTop());
    EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &window; }));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.pos(), place);
    EXPECT_EQ(window.winId(), native) << "the native window was not recreated";
    EXPECT_EQ(window.CurrentPage(), 0);
    EXPECT_EQ(window.GetContent(EditBoxName(2, NameKey())), "李四");
    EXPECT_FALSE(Component(window, CopyButtonName(2, NameKey()))->isEnabled());
}

TEST_F(WindowOptions, UntickingLeavesTheTopBandWithoutActivating) {
    ClickTopmost();
    ASSERT_TRUE(OnTop());
    Activate(other);
    ClickTopmost();
    EXPECT_FALSE(OnTop());
    QTest::qWait(50); // an activation would have arrived by now
    EXPECT_EQ(QApplication::activeWindow(), &other);
    EXPECT_TRUE(window.isVisible());
}

} // namespace

} // namespace orvane
