// The hot key on a real X server (Xvfb), pressed through XTEST as a hand
// presses it: typing waits for the keys to be let go, puts the next
// applicant byte for byte into another program's form (a character beyond
// the BMP, letters under Caps Lock, Tab between the fields), reads each box
// back and marks that group, in another layout too; Caps Lock and the key
// map are as they were; a box that takes a character fewer is caught; a
// second press holds the typing; a layout without a Latin V keeps the key;
// a press while one of Orvane's own boxes has the focus types nothing.
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
#include <optional>
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
        bindings.StartSettings(); // Ctrl+Alt+V, Tab between the fields
        ASSERT_EQ(boxes.count, 0) << boxes.text.toStdString();
    }
    // Ctrl+Alt+V as a hand presses it, V held 150 ms, from another thread
    // while the window's events run; again after `again` when given. `v`:
    // what the key that carries V types in the layout in force.
    void PressHotKey(std::optional<milliseconds> again = std::nullopt, xcb_keysym_t v = 'v') {
        hand = std::thread([again, v] {
            XInput().PressLikeAHand({XInput::kControl, XInput::kAlt, v}, milliseconds(150));
            if (again) {
                std::this_thread::sleep_for(*again);
                XInput().PressLikeAHand({XInput::kControl, XInput::kAlt, v}, milliseconds(120));
            }
        });
    }
    void LetGo() {
        if (hand.joinable()) {
            hand.join();
        }
    }
    QString TypingLine() { return XFormTest::TypingLine(window); }
    // The X server's key map: every key code's symbols.
    static std::vector<xcb_keysym_t> KeyMap() {
        xcb_connection_t* c = xcb_connect(nullptr, nullptr);
        const xcb_setup_t* setup = xcb_get_setup(c);
        std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> map(
            xcb_get_keyboard_mapping_reply(
                c,
                xcb_get_keyboard_mapping(c, setup->min_keycode,
                                         uint8_t(setup->max_keycode - setup->min_keycode + 1)),
                nullptr),
            &std::free);
        const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(map.get());
        std::vector<xcb_keysym_t> all(symbols,
                                      symbols + xcb_get_keyboard_mapping_keysyms_length(map.get()));
        xcb_disconnect(c);
        return all;
    }
    static void Layout(const char* name) {
        ASSERT_EQ(QProcess::execute(QStringLiteral("setxkbmap"), {QString::fromLatin1(name)}), 0);
        QTest::qWait(300); // the window follows the new map
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
    std::vector<xcb_keysym_t> map = KeyMap();
    ASSERT_FALSE(map.empty());
    PressHotKey();
    EXPECT_TRUE(WaitForFields(u8"吉𠮷祥", u8"11010519491231002X", u8"13800138000"))
        << last.toStdString();
    LetGo();
    EXPECT_TRUE(QTest::qWaitFor([&] { return GroupMarked(window, 1); }, 3000));
    EXPECT_FALSE(GroupMarked(window, 3));
    EXPECT_EQ(TypingLine(), QStringLiteral("已输入第一组")) << "read back through accessibility";
    EXPECT_TRUE(CapsLockOn()) << "Caps Lock as the user left it";
    EXPECT_EQ(KeyMap(), map) << "no character left on a spare key";

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

// A page whose ID box takes 17 characters: the missing one is caught when
// the box is read back, the phone is not typed, the group stays next.
TEST_F(HotKeyOnX, ABoxThatTakesACharacterFewerIsCaught) {
    StartForm(FormEnvironment(), {QStringLiteral("limit=17")});
    Fill(window, 1, "张三", "11010519491231002X", "13800138000");
    Start();
    PressHotKey();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return TypingLine() == QStringLiteral("已停止：身份证不对"); }, 5000))
        << TypingLine().toStdString();
    LetGo();
    EXPECT_FALSE(GroupMarked(window, 1));
    QTest::qWait(300);
    EXPECT_TRUE(WaitForFields(u8"张三", u8"11010519491231002", nullptr)) << last.toStdString();
}

// Two presses 200 ms apart, as a nervous hand makes them: the first group
// goes in whole, the second press types nothing into the same form.
TEST_F(HotKeyOnX, ASecondPressHoldsTheTypingAndTypesNothing) {
    Fill(window, 1, "欧阳吉祥", "11010519491231002X", "13800138000");
    Fill(window, 2, "李四", "110105194912310037", "13900139000");
    Start();
    PressHotKey(milliseconds(200));
    EXPECT_TRUE(WaitForFields(u8"欧阳吉祥", u8"11010519491231002X", u8"13800138000"))
        << last.toStdString() << " " << TypingLine().toStdString();
    LetGo();
    EXPECT_TRUE(QTest::qWaitFor([&] { return GroupMarked(window, 1); }, 3000));
    QTest::qWait(1000);
    EXPECT_FALSE(GroupMarked(window, 2));
    EXPECT_EQ(last, "FIELDS " + Hex(u8"欧阳吉祥") + " " + Hex(u8"11010519491231002X") + " " +
                        Hex(u8"13800138000"));
}

// A layout without a Latin V (Russian) keeps the hot key on the key that
// carries V, and switching back keeps it too.
TEST_F(HotKeyOnX, TheHotKeyWorksUnderALayoutWithoutV) {
    Fill(window, 1, "Ivan", "11010519491231002X", "13800138000");
    Fill(window, 2, "Пётр", "110105194912310037", "13900139000");
    Start();
    Layout("ru");
    EXPECT_EQ(TypingLine(), QStringLiteral("下一组：第一组"));
    constexpr xcb_keysym_t kCyrillicEm = 0x6CD; // м, on the key of V
    PressHotKey(std::nullopt, kCyrillicEm);
    EXPECT_TRUE(WaitForFields(u8"Ivan", u8"11010519491231002X", u8"13800138000"))
        << last.toStdString() << " " << TypingLine().toStdString();
    LetGo();
    EXPECT_TRUE(QTest::qWaitFor([&] { return GroupMarked(window, 1); }, 3000));
    Layout("us");
    QTest::qWait(500);
    ResetForm();
    PressHotKey();
    EXPECT_TRUE(WaitForFields(u8"Пётр", u8"110105194912310037", u8"13900139000"))
        << last.toStdString() << " " << TypingLine().toStdString();
    LetGo();
    EXPECT_TRUE(QTest::qWaitFor([&] { return GroupMarked(window, 2); }, 3000));
}

// Another program holds Ctrl+Alt+V: the start says so in a box, and the
// line says the key is not in force, not that no group is left.
TEST_F(HotKeyOnX, AKeyHeldByAnotherProgramIsSaidNotToBeInForce) {
    KeyHolder other('v', XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1);
    Fill(window, 1, "张三", "11010519491231002X", "13800138000");
    ModalBoxAnswerer boxes;
    bindings.StartSettings();
    EXPECT_EQ(boxes.count, 1);
    EXPECT_TRUE(boxes.text.contains(QStringLiteral("已被其他程序占用")));
    EXPECT_EQ(TypingLine(), QStringLiteral("输入热键没有生效"));
}

// A group with more characters no key types than the keyboard has spare
// key codes for goes in rounds, and the key map is as it was after.
TEST_F(HotKeyOnX, ManyCharactersNoKeyTypesGoInRounds) {
    Fill(window, 1, "欧阳吉祥", "11010519491231002X", "13800138000");
    Start();
    window.SetContent(kSequenceBox, "甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午未申酉戌亥{姓名}");
    {
        ModalBoxAnswerer set; // "设置好了…"
        bindings.typing.OnSetClicked();
        DrainWorkQueues(); // the setting saved, then the box
    }
    // The box took the keyboard, and gave it to nobody when it closed: the
    // keyboard back to the form, as a click gives it.
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"),
                                {QStringLiteral("search"), QStringLiteral("--name"),
                                 QStringLiteral("^form$"), QStringLiteral("windowfocus"),
                                 QStringLiteral("--sync")}),
              0);
    ResetForm();
    std::vector<xcb_keysym_t> map = KeyMap();
    PressHotKey();
    EXPECT_TRUE(
        WaitForFields(u8"甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午未申酉戌亥欧阳吉祥", nullptr, nullptr))
        << last.toStdString() << " " << TypingLine().toStdString();
    LetGo();
    EXPECT_TRUE(QTest::qWaitFor([&] { return GroupMarked(window, 1); }, 3000));
    EXPECT_EQ(KeyMap(), map);
}

// The keyboard on no window (the root's): keys would go to whatever lies
// under the pointer, Orvane's own window here. Nothing is typed.
TEST_F(HotKeyOnX, APressWithTheKeyboardOnNoWindowTypesNothing) {
    Fill(window, 1, "张三", "11010519491231002X", "13800138000");
    Start();
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_warp_pointer(c, XCB_NONE, root, 0, 0, 0, 0, 100, 100); // over Orvane's window
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, root, XCB_CURRENT_TIME);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    xcb_disconnect(c);
    PressHotKey();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return TypingLine() == QStringLiteral("没有输入：没有输入框"); }, 3000))
        << TypingLine().toStdString();
    LetGo();
    EXPECT_FALSE(GroupMarked(window, 1));
    EXPECT_EQ(window.GetContent(kAllPhoneBox), "");
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
    bindings.typing.OnSetClicked();
    DrainWorkQueues(); // "设置好了…", until the user closes it
    LetGo();
    ASSERT_TRUE(pressed);
    EXPECT_EQ(TypingLine(), QStringLiteral("没有输入：焦点在本程序"));
    QTest::qWait(300);
    EXPECT_EQ(last, QByteArray("READY")) << "the form got nothing";
    EXPECT_FALSE(GroupMarked(window, 1));
}

} // namespace

} // namespace orvane
