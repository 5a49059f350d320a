// The hot key on a real X server (Xvfb): pressed through XTEST, it types the
// next applicant into another program's form, a character beyond the BMP
// and Tab included, and greys that group's copy buttons; a second press
// types the group after it.
#include "app/event_bindings.h"
#include "app/work_queues.h"
#include "handlers/assist.h"
#include "handlers/clock_display.h"
#include "modal_box.h"
#include "program_bindings.h"
#include "temp_folder.h"
#include "window/component_names.h"
#include "window_access.h"
#include "x_input.h"

#include <QProcess>
#include <QTest>

namespace orvane {

namespace {

// The form reports UTF-8; the window holds ANSI text.
QByteArray Hex(const char8_t* utf8) {
    return QByteArray(reinterpret_cast<const char*>(utf8)).toHex();
}

class HotKeyTyping : public testing::Test {
protected:
    void SetUp() override {
        InstallBindings(window, EventBindings(clock, assist));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        form.start(QStringLiteral(X_FORM_HELPER), {});
        ASSERT_TRUE(WaitForLine("READY"));
    }
    void TearDown() override {
        clock.Stop();
        form.closeWriteChannel();
        form.waitForFinished(3000);
    }
    void Fill(int group, const char* name, const char* id, const char* phone) {
        window.SetContent(EditBoxName(group, NameKey()), name);
        window.SetContent(EditBoxName(group, IdKey()), id);
        window.SetContent(EditBoxName(group, PhoneKey()), phone);
    }
    // The form's last report matching, within a few seconds.
    bool WaitForLine(const QByteArray& wanted) {
        return QTest::qWaitFor(
            [&] {
                while (form.canReadLine()) {
                    last = form.readLine().trimmed();
                }
                return last == wanted;
            },
            8000);
    }
    bool GroupGreyed(int group) {
        for (const std::string& key : kFieldKeys) {
            if (window.GetEnabled(CopyButtonName(group, key))) {
                return false;
            }
        }
        return true;
    }

    TempFolder folder;
    MainWindow window;
    ClockDisplay clock{window, kNoTimeServer};
    Assist assist{window, clock, FileQueue(), folder.path + "/信息.ini"};
    QProcess form;
    QByteArray last;
    XInput hand;
};

TEST_F(HotKeyTyping, EachPressTypesTheNextGroupIntoAnotherProgram) {
    Fill(1, "吉𠮷祥", "11010519491231002X", "13800138000");
    Fill(3, "李四", "110105194912310037", "13900139000");
    ModalBoxAnswerer boxes;
    assist.Start(); // Ctrl+Alt+V, the three fields with Tab between
    ASSERT_EQ(boxes.count, 0) << boxes.text.toStdString();
    hand.Chord({XInput::kControl, XInput::kAlt, 'v'});
    EXPECT_TRUE(WaitForLine("FIELDS " + Hex(u8"吉𠮷祥") + " " + Hex(u8"11010519491231002X") + " " +
                            Hex(u8"13800138000")))
        << last.toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return GroupGreyed(1); }, 3000));
    EXPECT_FALSE(GroupGreyed(3));

    form.write("RESET\n");
    ASSERT_TRUE(WaitForLine("READY"));
    hand.Chord({XInput::kControl, XInput::kAlt, 'v'});
    EXPECT_TRUE(WaitForLine("FIELDS " + Hex(u8"李四") + " " + Hex(u8"110105194912310037") + " " +
                            Hex(u8"13900139000")))
        << "group 2 is empty, so group 3 is next: " << last.toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return GroupGreyed(3); }, 3000));
    EXPECT_EQ(boxes.count, 0) << boxes.text.toStdString();
}

} // namespace

} // namespace orvane
