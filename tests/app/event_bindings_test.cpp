#include "app/work_queues.h"
#include "modal_box.h"
#include "profile/profile_file.h"
#include "program_bindings.h"
#include "storage/information_file.h"
#include "text/ansi_literals.h"
#include "window/component_names.h"
#include "window/window_thread.h"
#include "window_access.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <utility>

namespace orvane {

namespace {

using Event = MainWindow::Event;

// Every event that has a handler, and nothing else.
std::map<std::pair<std::string, Event>, int> Expected() {
    std::map<std::pair<std::string, Event>, int> expected;
    // The start with the 配置 page's settings, then the clock's first lookup.
    expected[{kMainWindow, Event::Created}] = 2;
    // Each copy and restore, then the typing line's next group.
    for (int n = 1; n <= kGroupCount; ++n) {
        for (const std::string& key : kFieldKeys) {
            expected[{CopyButtonName(n, key), Event::Click}] = 2;
        }
        expected[{RestoreButtonName(n), Event::Click}] = 2;
    }
    for (int page = 1; page <= kGroupPageCount; ++page) {
        expected[{PagePhoneButtonName(page), Event::Click}] = 1;
    }
    for (const std::string& name : {kAllPhoneButton, kSaveButton, kLoadButton, kRememberBox,
                                    kTopmostBox, kSoundBox, kTypingButton, kRehearseButton}) {
        expected[{name, Event::Click}] = 1;
    }
    expected[{kTimeToggleButton, Event::Click}] = 2; // the switch, then the panel
    expected[{kTicker, Event::Tick}] = 1;
    expected[{kOpeningTimeBox, Event::Confirmed}] = 1;
    expected[{kTimeUrlBox, Event::Confirmed}] = 1;
    return expected;
}

// The 120 bindings of the window's events and the typing line's 100, then
// the edit watches (each of the 75 fields twice, and the opening time) and
// an entry in each name box's menu.
TEST(EventBindings, EachBoundEventOnceAndToAnExistingComponent) {
    std::map<std::pair<std::string, Event>, int> bound;
    MainWindow window;
    ProgramBindings parts(window);
    int edits = 0;
    int menus = 0;
    for (const EventBinding& binding :
         EventBindings(parts.clock, parts.countdown, parts.typing, parts.rehearsal)) {
        if (binding.kind == EventBinding::Kind::ContextMenu) {
            ++menus;
            EXPECT_EQ(binding.caption, "从本组起粘贴表格");
            EXPECT_NE(Component<QLineEdit>(window, binding.component), nullptr);
            continue;
        }
        if (binding.event == Event::Edited) {
            ++edits;
            EXPECT_NE(Component<QLineEdit>(window, binding.component), nullptr);
            continue;
        }
        ++bound[{binding.component, binding.event}];
        if (binding.event == Event::Click) {
            EXPECT_NE(Component<QAbstractButton>(window, binding.component), nullptr);
        }
        if (binding.event == Event::Confirmed) {
            EXPECT_NE(Component<QLineEdit>(window, binding.component), nullptr);
        }
        if (binding.event == Event::Tick) {
            EXPECT_NE(Component<QObject>(window, binding.component), nullptr);
        }
    }
    EXPECT_EQ(bound, Expected());
    EXPECT_EQ(EventBindings(parts.clock, parts.countdown, parts.typing, parts.rehearsal).size(),
              120u + 100u + 151u + 25u);
    EXPECT_EQ(edits, 151);
    EXPECT_EQ(menus, 25);
}

// An edit watch and a context-menu entry that throw stop the run through the
// fatal-error box, as every other handler does: the loop ends with -1.
TEST(EventBindingsDeathTest, EditWatchesAndMenuEntriesRunUnderTheGuard) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto throwing = [](Window&) { throw std::runtime_error("坏了"); };
    auto reportAndExit = [](const std::function<void(MainWindow&)>& trigger, EventBinding binding) {
        MainWindow window;
        std::shared_ptr<const void> bound = InstallBindings(window, {std::move(binding)});
        ModalBoxAnswerer answerer(ModalBoxAnswerer::Answer::ClickOk, [&answerer] {
            std::fprintf(stderr, "[box %s]\n", answerer.caption.toUtf8().constData());
        });
        QTimer::singleShot(0, [&] { trigger(window); });
        std::exit(window.RunMessageLoop());
    };
    const std::string box = EditBoxName(2, NameKey());
    EXPECT_EXIT(reportAndExit([&](MainWindow& w) { w.SetContent(box, "x"); },
                              {box, Event::Edited, throwing}),
                testing::ExitedWithCode(255), reinterpret_cast<const char*>(u8"\\[box 错误\\]"));
    EXPECT_EXIT(reportAndExit(
                    [&](MainWindow& w) {
                        QTimer::singleShot(50, [] {
                            QApplication::activePopupWidget()->actions().last()->trigger();
                        });
                        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(1, 1),
                                               QPoint(1, 1));
                        QApplication::sendEvent(Component<QLineEdit>(w, box), &menu);
                    },
                    {box, Event::Click, throwing, EventBinding::Kind::ContextMenu, "菜单"}),
                testing::ExitedWithCode(255), reinterpret_cast<const char*>(u8"\\[box 错误\\]"));
}

// A window that outlives its handlers (its closing takes the focus from a
// box, which confirms it) reaches none of them once they are gone.
TEST(EventBindings, NoHandlerRunsOnceItsBindingsAreGone) {
    MainWindow window;
    int ran = 0;
    std::shared_ptr<const void> bound =
        InstallBindings(window, {{kOpeningTimeBox, Event::Edited, [&ran](Window&) { ++ran; }}});
    window.SetContent(kOpeningTimeBox, "9:00");
    EXPECT_EQ(ran, 1);
    bound.reset();
    window.SetContent(kOpeningTimeBox, "10:00");
    EXPECT_EQ(ran, 1);
}

// A timer's task and the answer of slow work posted to the window's thread
// run under the same guard as the bound handlers, and stop the run alike.
TEST(EventBindingsDeathTest, TimersAndPostedAnswersRunUnderTheGuard) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto reportAndExit = [](const std::function<void(MainWindow&)>& arm) {
        MainWindow window;
        ModalBoxAnswerer answerer(ModalBoxAnswerer::Answer::ClickOk, [&answerer] {
            std::fprintf(stderr, "[box %s]\n", answerer.caption.toUtf8().constData());
        });
        arm(window);
        std::exit(window.RunMessageLoop());
    };
    EXPECT_EXIT(reportAndExit([](MainWindow& w) {
                    w.RunAfter(10, [] { throw std::runtime_error("坏了"); });
                }),
                testing::ExitedWithCode(255), reinterpret_cast<const char*>(u8"\\[box 错误\\]"));
    EXPECT_EXIT(reportAndExit([](MainWindow&) {
                    PostToWindowThread([] { throw std::runtime_error("坏了"); });
                }),
                testing::ExitedWithCode(255), reinterpret_cast<const char*>(u8"\\[box 错误\\]"));
}

TEST(EventBindings, RealClicksReachTheirHandlers) {
    QFile::remove(ToUnicode(InformationFilePath()));
    MainWindow window;
    ProgramBindings bindings(window);
    window.SetContent(EditBoxName(3, NameKey()), "张三");
    Component<QPushButton>(window, CopyButtonName(3, NameKey()))->click();
    EXPECT_EQ(ClipboardText(), "张三");
    EXPECT_FALSE(Component(window, CopyButtonName(3, NameKey()))->isEnabled());
    Component<QPushButton>(window, RestoreButtonName(3))->click();
    EXPECT_TRUE(Component(window, CopyButtonName(3, NameKey()))->isEnabled());

    window.SetContent(PagePhoneBoxName(2), "13800000002");
    Component<QPushButton>(window, PagePhoneButtonName(2))->click();
    EXPECT_EQ(window.GetContent(EditBoxName(8, PhoneKey())), "13800000002");

    Component<QPushButton>(window, kSaveButton)->click();
    window.SetContent(EditBoxName(3, NameKey()), "改了");
    Component<QPushButton>(window, kLoadButton)->click();
    DrainWorkQueues();
    EXPECT_EQ(window.GetContent(EditBoxName(3, NameKey())), "张三") << "the load read the save";

    Component<QCheckBox>(window, kRememberBox)->click();
    DrainWorkQueues();
    EXPECT_EQ(ReadProfileItem(InformationFilePath(), "配置", "记住配置"), "真");
    QFile::remove(ToUnicode(InformationFilePath()));
}

} // namespace

} // namespace orvane
