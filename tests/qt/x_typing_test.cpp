// The hot key on a real X server (Xvfb), pressed through XTEST as a hand
// presses it: typing waits for the keys to be let go, puts the next
// applicant byte for byte into another program's form (a character beyond
// the BMP, letters under Caps Lock, Tab between the fields) and marks that
// group, in another layout too; Caps Lock is as it was; a press while one
// of Orvane's own boxes has the focus types nothing and marks nothing.
#include "modal_box.h"
#include "program_bindings.h"
#include "window/component_names.h"
#include "window/global_typing.h"
#include "window_access.h"
#include "x_form.h"
#include "x_input.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <thread>

namespace orvane {

namespace {

using std::chrono::milliseconds;

class HotKeyOnX : public XFormTest {
protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        XFormTest::SetUp();
    }
    void TearDown() override {
        bindings.clock.Stop();
        XFormTest::TearDown();
    }
    void Start() {
        ModalBoxAnswerer boxes;
        bindings.typing.Start(bindings.assist.Start()); // Ctrl+Alt+V, Tab between the fields
        ASSERT_EQ(boxes.count, 0) << boxes.text.toStdString();
    }
    // Ctrl+Alt+V as a hand presses it, V held 150 ms, from another thread
    // while the window's events run.
    void PressHotKey() {
        hand = std::thread([] {
            XInput().PressLikeAHand({XInput::kControl, XInput::kAlt, 'v'}, milliseconds(150));
        });
    }
    void LetGo() {
        if (hand.joinable()) {
            hand.join();
        }
    }
    QString TypingLine() {
        return Component<QStatusBar>(window, kStatusBar)->findChildren<QLabel*>().at(1)->text();
    }

    MainWindow window;
    ProgramBindings bindings{window, kNoTimeServer, OpenKeyboard(window)};
    std::thread hand;
};

TEST_F(HotKeyOnX, APersonsPressTypesTheNextGroupExactlyAndMarksIt) {
    Fill(window, 1, "吉𠮷祥", "11010519491231002X", "13800138000");
    Fill(window, 3, "Anna·Müller", "11010519491231003x", "13900000001");
    Start();
    EXPECT_EQ(TypingLine(), QStringLiteral("下一组：第一组"));
    XInput().PressLikeAHand({XInput::kCapsLock}, milliseconds(80));
    ASSERT_TRUE(CapsLockOn());
    PressHotKey();
    EXPECT_TRUE(WaitForFields(u8"吉𠮷祥", u8"11010519491231002X", u8"13800138000"))
        << last.toStdString();
    LetGo();
    EXPECT_TRUE(QTest::qWaitFor([&] { return GroupMarked(window, 1); }, 3000));
    EXPECT_FALSE(GroupMarked(window, 3));
    EXPECT_EQ(TypingLine(), QStringLiteral("已输入第一组"));
    EXPECT_TRUE(CapsLockOn()) << "Caps Lock as the user left it";

    // Another layout, the hot key and the letters on other keys now.
    ASSERT_EQ(QProcess::execute(QStringLiteral("setxkbmap"), {QStringLiteral("dvorak")}), 0);
    QTest::qWait(800); // past the quiet time after a press
    ResetForm();
    PressHotKey();
    EXPECT_TRUE(WaitForFields(u8"Anna·Müller", u8"11010519491231003x", u8"13900000001"))
        << "group 2 is empty, so group 3 is next; lower case under Caps Lock: "
        << last.toStdString();
    LetGo();
    EXPECT_TRUE(QTest::qWaitFor([&] { return GroupMarked(window, 3); }, 3000));
    EXPECT_TRUE(CapsLockOn());
    QProcess::execute(QStringLiteral("setxkbmap"), {QStringLiteral("us")});
    XInput().PressLikeAHand({XInput::kCapsLock}, milliseconds(80));
}

// The box "设置好了…" has the keyboard: the press says so in the line,
// types nothing anywhere, marks nothing.
TEST_F(HotKeyOnX, APressIntoOrvanesOwnBoxTypesNothing) {
    Fill(window, 1, "李四", "110105194912310037", "13900139000");
    Start();
    bool pressed = false;
    QElapsedTimer shown;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        if (!pressed) {
            pressed = true;
            shown.start();
            PressHotKey();
        } else if (TypingLine().startsWith(QStringLiteral("没有输入")) || shown.elapsed() > 5000) {
            box->button(QMessageBox::Ok)->click();
        }
    });
    user.start(5);
    bindings.typing.OnSetClicked(); // "设置好了…", until the user closes it
    LetGo();
    ASSERT_TRUE(pressed);
    EXPECT_EQ(TypingLine(), QStringLiteral("没有输入：焦点在本程序"));
    QTest::qWait(300);
    EXPECT_EQ(last, QByteArray("READY")) << "the form got nothing";
    EXPECT_FALSE(GroupMarked(window, 1));
}

} // namespace

} // namespace orvane
