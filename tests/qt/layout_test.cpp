#include "qt/page_control.h"
#include "text/ansi_literals.h"
#include "window/component_names.h"
#include "window/layout.h"
#include "window_access.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <set>

namespace orvane {

namespace {

QPoint OnWindow(QWidget& window, const std::string& name) {
    QWidget* widget = Component(window, name);
    return widget->mapTo(&window, QPoint(0, 0));
}

TEST(Layout, NamesAreUniqueAndCoverEveryGroupComponent) {
    std::set<std::string> names;
    for (const ComponentRow& row : MainWindowLayout()) {
        EXPECT_TRUE(names.insert(row.name).second) << ToUnicode(row.name).toStdString();
    }
    for (int n = 1; n <= kGroupCount; ++n) {
        EXPECT_TRUE(names.count(GroupBoxName(n)));
        EXPECT_TRUE(names.count(RestoreButtonName(n)));
        for (const std::string& key : kFieldKeys) {
            EXPECT_TRUE(names.count(EditBoxName(n, key)));
            EXPECT_TRUE(names.count(CopyButtonName(n, key)));
        }
    }
    for (int label = 1; label <= 75; ++label) {
        EXPECT_TRUE(names.count("标签" + std::to_string(label))) << label;
    }
}

TEST(Layout, GroupCaptionsUseChineseNumerals) {
    EXPECT_EQ(GroupCaption(1), "第一组");
    EXPECT_EQ(GroupCaption(10), "第十组");
    EXPECT_EQ(GroupCaption(11), "第十一组");
    EXPECT_EQ(GroupCaption(20), "第二十组");
    EXPECT_EQ(GroupCaption(25), "第二十五组");
}

TEST(Layout, GroupOneNumbersItsLabelsNamePhoneId) {
    MainWindow window;
    EXPECT_EQ(Component<QLabel>(window, "标签1")->text(), QStringLiteral("姓 名 ："));
    EXPECT_EQ(Component<QLabel>(window, "标签2")->text(), QStringLiteral("手机号："));
    EXPECT_EQ(Component<QLabel>(window, "标签3")->text(), QStringLiteral("身份证："));
    EXPECT_EQ(Component<QLabel>(window, "标签22")->text(), QStringLiteral("身份证："));
    EXPECT_EQ(Component<QLabel>(window, "标签23")->text(), QStringLiteral("手机号："));
    EXPECT_EQ(Component<QLabel>(window, "标签24")->text(), QStringLiteral("姓 名 ："));
}

TEST(Layout, GroupSevenIsSecondOnPageTwo) {
    MainWindow window;
    window.show();
    auto* box = Component<QGroupBox>(window, "分组框7");
    EXPECT_EQ(box->title(), QStringLiteral("第七组"));
    // On the page, whose corner is below the tab row.
    EXPECT_EQ(box->geometry(), QRect(0, 140 - kTabRowHeight, 315, 114));
    EXPECT_EQ(box->parentWidget(), Component(window, kPageControl + "_2"));
    EXPECT_TRUE(Component(window, kPageControl)->isAncestorOf(box));
    EXPECT_EQ(OnWindow(window, "分组框7"), OnWindow(window, "分组框2"));
}

TEST(Layout, GroupThirteenSitsInsideItsPanelWhereGroupThreeIs) {
    MainWindow window;
    window.show();
    auto* box = Component<QGroupBox>(window, "分组框13");
    EXPECT_EQ(box->parentWidget()->objectName(), QStringLiteral("画板3"));
    EXPECT_EQ(box->geometry(), QRect(0, 234, 315, 114));
    EXPECT_EQ(OnWindow(window, "分组框13"), OnWindow(window, "分组框3"));
    EXPECT_EQ(OnWindow(window, "分组框3"), QPoint(0, 2 + 256));
}

TEST(Layout, GroupComponentsSitAtTheirPlacesInTheBox) {
    MainWindow window;
    EXPECT_EQ(Component(window, "按钮9_恢复")->geometry(), QRect(160, 18, 40, 20));
    EXPECT_EQ(Component(window, "编辑框9_姓名")->geometry(), QRect(70, 18, 80, 20));
    EXPECT_EQ(Component(window, "编辑框9_身份证")->geometry(), QRect(70, 50, 130, 20));
    EXPECT_EQ(Component(window, "按钮9_手机号")->geometry(), QRect(216, 82, 80, 20));
}

TEST(Layout, SettingsPageRowsAndColours) {
    MainWindow window;
    EXPECT_EQ(Component(window, "编辑框_第三页手机号")->geometry(),
              QRect(112, 148 - kTabRowHeight, 130, 20));
    EXPECT_EQ(Component(window, "按钮_全部页设置")->geometry(),
              QRect(259, 246 - kTabRowHeight, 40, 20));
    auto* allLabel = Component<QLabel>(window, "透明标签6");
    EXPECT_EQ(allLabel->text(), QStringLiteral("全 部 手机号："));
    EXPECT_EQ(allLabel->palette().color(QPalette::WindowText), QColor(255, 128, 0));
    auto* allBox = Component<QLineEdit>(window, kAllPhoneBox);
    EXPECT_EQ(allBox->palette().color(QPalette::Text), QColor(255, 128, 0));
    auto* about = Component<QLabel>(window, "透明标签7");
    EXPECT_EQ(about->palette().color(QPalette::WindowText), QColor(0, 136, 255));
    EXPECT_TRUE(
        about->text().endsWith(QString(38, QLatin1Char(' ')) + QStringLiteral("By：qelvorn")));
    EXPECT_EQ(about->font().pixelSize(), 14);
}

// The table's pixels are meant for 96 DPI; a window at another DPI scales
// every place, size and font, and its pages still start below the tab row.
TEST(Layout, EveryRowScalesWithTheScreensDpi) {
    auto row = [](const std::string& name) {
        for (const ComponentRow& r : MainWindowLayout()) {
            if (r.name == name) {
                return r;
            }
        }
        return ComponentRow{};
    };
    auto same = [](Geometry a, Geometry b) {
        return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
    };
    auto at = [](int dpi) { return WindowFit{.dpi = dpi}; };
    const ComponentRow save = row(kSaveButton);
    EXPECT_TRUE(same(PlacedGeometry(save, at(96)), save.geometry));
    EXPECT_TRUE(same(PlacedGeometry(save, at(192)), {218, 1224, 160, 64}));
    EXPECT_TRUE(same(PlacedGeometry(save, at(144)), {163, 918, 120, 48}));
    // Group 1 lies on its page, whose corner is below the tab row.
    EXPECT_TRUE(same(PlacedGeometry(row(GroupBoxName(1)), at(144)), {0, 3, 472, 171}));
    EXPECT_TRUE(same(PlacedGeometry(row(kPageControl + "_1"), at(144)), {0, 33, 472, 948}));
    EXPECT_EQ(Scaled(MainWindowFrame().clientWidth, 144), 472);
    EXPECT_EQ(Scaled(MainWindowFrame().clientHeight, 144), 1006);
    EXPECT_EQ(Scaled(12, 144), 18) << "the 12-pixel font";
}

// Common screens at their usual scales, less a 48-pixel taskbar and a
// 31-pixel title bar (both scaled): the window keeps the screen's DPI (its
// text 9 pt), and where it would be taller than the work area its pages
// scroll while the buttons and the status bar stay inside.
TEST(Layout, TheWindowFitsTheWorkAreaAtTheScreensDpi) {
    struct Screen {
        int height;
        int percent;
        bool scrolls;
    };
    const Screen screens[] = {
        {768, 100, false},  {768, 125, true},  {768, 150, true},  {720, 150, true},
        {1080, 100, false}, {1080, 150, true}, {1080, 175, true}, {2160, 200, false},
        {2160, 150, false}, {600, 100, true},
    };
    auto row = [](const std::string& name) {
        for (const ComponentRow& r : MainWindowLayout()) {
            if (r.name == name) {
                return r;
            }
        }
        return ComponentRow{};
    };
    for (const Screen& screen : screens) {
        int dpi = kDesignDpi * screen.percent / 100;
        int work = screen.height - Scaled(48, dpi);
        int frame = Scaled(31, dpi);
        WindowFit fit = FitWindow(dpi, work, frame, Scaled(17, dpi));
        std::string name = std::to_string(screen.height) + " at " + std::to_string(screen.percent);
        EXPECT_EQ(fit.dpi, dpi) << name;
        EXPECT_EQ(fit.Scrolls(), screen.scrolls) << name;
        EXPECT_LE(fit.ClientHeight() + frame, work) << name;
        Geometry save = PlacedGeometry(row(kSaveButton), fit);
        Geometry bar = PlacedGeometry(row(kStatusBar), fit);
        Geometry page = PlacedGeometry(row(kPageControl + "_1"), fit);
        EXPECT_LE(save.top + save.height, bar.top) << name;
        EXPECT_EQ(bar.top + bar.height, fit.ClientHeight()) << name;
        EXPECT_GE(bar.width, fit.ClientWidth() - 2) << name;
        EXPECT_EQ(page.height < PageContentHeight(dpi), screen.scrolls) << name;
        Geometry control = PlacedGeometry(row(kPageControl), fit);
        EXPECT_EQ(control.top + page.top + page.height <= save.top, screen.scrolls)
            << name << ": a page that scrolls ends above the buttons";
        EXPECT_EQ(page.width, fit.ClientWidth()) << name;
    }
    // A work area smaller than a third of the window: it reaches below.
    WindowFit tiny = FitWindow(96, 100, 0, 17);
    EXPECT_EQ(tiny.ClientHeight(), 671 / 3);
}

TEST(Layout, CopyAndRestoreButtonsSayWhatTheyActOn) {
    MainWindow window;
    EXPECT_EQ(Component(window, "按钮3_姓名")->accessibleName(),
              QStringLiteral("第三组 姓名 复制"));
    EXPECT_EQ(Component(window, "按钮21_手机号")->accessibleName(),
              QStringLiteral("第二十一组 手机号 复制"));
    EXPECT_EQ(Component(window, "按钮12_恢复")->accessibleName(), QStringLiteral("第十二组 恢复"));
}

TEST(Layout, AllSixTabsFitTheRowWithoutScrolling) {
    MainWindow window;
    window.show();
    QTabBar* tabs = Component<PageControl>(window, kPageControl)->TabBar();
    ASSERT_EQ(tabs->count(), 6);
    EXPECT_EQ(tabs->tabText(5), QStringLiteral("配置"));
    EXPECT_EQ(tabs->font().pixelSize(), 12);
    for (int i = 0; i < tabs->count(); ++i) {
        EXPECT_LE(tabs->tabRect(i).right(), 314) << i;
        int captionWidth = tabs->fontMetrics().horizontalAdvance(tabs->tabText(i));
        EXPECT_GT(tabs->tabRect(i).width(), captionWidth) << "tab " << i << " squeezed";
    }
}

} // namespace

} // namespace orvane
