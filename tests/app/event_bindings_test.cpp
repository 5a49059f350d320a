#include "ansi_literals.h"
#include "component_names.h"
#include "event_bindings.h"
#include "information_file.h"
#include "profile_file.h"
#include "window_access.h"
#include "work_queues.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <map>

namespace {

using Event = MainWindow::Event;

// Every event that has a handler, and nothing else.
std::map<std::pair<std::string, Event>, int> Expected() {
    std::map<std::pair<std::string, Event>, int> expected;
    expected[{kMainWindow, Event::Created}] = 1;
    for (int n = 1; n <= kGroupCount; ++n) {
        for (const std::string& key : kFieldKeys) {
            expected[{CopyButtonName(n, key), Event::Click}] = 1;
        }
        expected[{RestoreButtonName(n), Event::Click}] = 1;
    }
    for (int page = 1; page <= kGroupPageCount; ++page) {
        expected[{PagePhoneButtonName(page), Event::Click}] = 1;
    }
    for (const std::string& name : {kAllPhoneButton, kSaveButton, kLoadButton, kRememberBox,
                                    kTopmostBox, kTimeToggleButton}) {
        expected[{name, Event::Click}] = 1;
    }
    expected[{kClock, Event::Tick}] = 1;
    return expected;
}

TEST(EventBindings, EachBoundEventOnceAndToAnExistingComponent) {
    std::map<std::pair<std::string, Event>, int> bound;
    MainWindow window;
    for (const EventBinding& binding : EventBindings()) {
        ++bound[{binding.component, binding.event}];
        if (binding.event == Event::Click) {
            EXPECT_NE(Component<QAbstractButton>(window, binding.component), nullptr);
        }
        if (binding.event == Event::Tick) {
            EXPECT_NE(Component<QObject>(window, binding.component), nullptr);
        }
    }
    EXPECT_EQ(bound, Expected());
    EXPECT_EQ(EventBindings().size(), 113u);
}

TEST(EventBindings, RealClicksReachTheirHandlers) {
    QFile::remove(ToUnicode(InformationFilePath()));
    MainWindow window;
    InstallBindings(window, EventBindings());
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
