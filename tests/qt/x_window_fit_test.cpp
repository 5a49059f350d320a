// The window on a real X screen at the user's scale: CTest runs it on a
// 1366×768 screen with QT_SCALE_FACTOR at 1.25 and 1.5 (ORVANE_TEST_SCALE
// says which), where the window at that scale is taller than the screen.
#include "app/work_queues.h"
#include "handlers/file_handlers.h"
#include "profile/profile_file.h"
#include "qt/page_control.h"
#include "temp_folder.h"
#include "window/component_names.h"
#include "window/layout.h"
#include "window_access.h"
#include "x_input.h"

#include <QAccessible>
#include <QFontInfo>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <cmath>
#include <cstdlib>

namespace orvane {

namespace {

QRect OnScreen(QWidget* widget) {
    return {widget->mapToGlobal(QPoint(0, 0)), widget->size()};
}

class WindowFitOnX : public testing::Test {
protected:
    void SetUp() override {
        const char* asked = std::getenv("ORVANE_TEST_SCALE");
        dpi = int(std::lround(kDesignDpi * (asked != nullptr ? std::stod(asked) : 1.0)));
        window.Bind(kSaveButton, Window::Event::Click,
                    [this] { SaveApplicants(window, FileQueue(), file); });
        window.ShowCentered();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    int dpi = kDesignDpi;
    TempFolder folder;
    std::string file = folder.Path("信息.ini");
    MainWindow window;
    XInput hand;
};

// The whole window, its tabs, 保存配置 and the status bar are on the screen;
// the pages scroll where the window at the scale would not fit.
TEST_F(WindowFitOnX, TheWholeWindowIsOnTheScreen) {
    QRect screen = window.screen()->availableGeometry();
    for (const std::string& name : {kPageControl, kSaveButton, kLoadButton, kStatusBar}) {
        EXPECT_TRUE(screen.contains(OnScreen(Component(window, name)))) << name;
    }
    EXPECT_TRUE(screen.contains(window.frameGeometry()));
    auto* page = Component(window, kPageControl + "_1")->parentWidget()->parentWidget();
    auto* scroll = qobject_cast<QScrollArea*>(page)->verticalScrollBar();
    bool taller = Scaled(MainWindowFrame().clientHeight, dpi) > screen.height();
    EXPECT_EQ(scroll->isVisible(), taller);
    std::printf("scale %d dpi on %dx%d: window %dx%d, pages scroll: %s\n", dpi, screen.width(),
                screen.height(), window.width(), window.height(), taller ? "yes" : "no");
}

// Every kind of text is 9 pt or more at the user's scale, and what assistive
// tools are told of a button's place is where it is drawn.
TEST_F(WindowFitOnX, TextIsNineAndPlacesAreTrue) {
    int least = int(std::ceil(9.0 * dpi / 72));
    for (const std::string& name : {kSaveButton, std::string("标签1"), EditBoxName(1, NameKey()),
                                    GroupBoxName(1), kRememberBox, kPageControl, kStatusBar}) {
        QWidget* widget = Component(window, name);
        if (name == kPageControl) {
            widget = Component<PageControl>(window, name)->TabBar();
        } else if (name == kStatusBar) {
            widget = widget->findChild<QLabel*>();
        }
        EXPECT_GE(QFontInfo(widget->font()).pixelSize(), least) << name;
    }
    EXPECT_GE(QFontInfo(QApplication::font()).pixelSize(), least) << "message boxes";
    QWidget* save = Component(window, kSaveButton);
    QAccessibleInterface* told = QAccessible::queryAccessibleInterface(save);
    ASSERT_NE(told, nullptr);
    EXPECT_EQ(told->rect(), OnScreen(save));
    EXPECT_EQ(told->rect().size(), QSize(Scaled(80, dpi), Scaled(32, dpi)));
}

// A real click at 保存配置's drawn place saves; a box at the foot of a
// scrolled page, focused, is brought into view clear of the buttons.
TEST_F(WindowFitOnX, SaveTakesARealClickAndFocusScrolls) {
    window.SetContent(EditBoxName(1, NameKey()), "张三");
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QPoint centre = OnScreen(Component(window, kSaveButton)).center();
    hand.Click(centre.x(), centre.y());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            DrainWorkQueues();
            return ReadProfileItem(file, "第一组", "姓名") == "张三";
        },
        5000));
    window.FocusComponent(EditBoxName(5, PhoneKey()));
    QRect box = OnScreen(Component(window, EditBoxName(5, PhoneKey())));
    QRect page = OnScreen(Component(window, kPageControl + "_1")->parentWidget());
    EXPECT_TRUE(page.contains(box));
    EXPECT_LE(box.bottom(), OnScreen(Component(window, kSaveButton)).top());
}

} // namespace

} // namespace orvane
