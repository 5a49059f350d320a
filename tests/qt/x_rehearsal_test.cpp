// 演练 on a real X server: the program's own practice form in a process of
// its own, the hot key pressed through XTEST as a hand presses it, with
// and without pinyin active in the form. Three presses arrive right and say
// so; a box that takes a character fewer is named with what arrived; no
// group is marked; the verdict goes to the failure log.
#include "app/work_queues.h"
#include "clock_server.h"
#include "fcitx.h"
#include "files/failure_log.h"
#include "modal_box.h"
#include "program_bindings.h"
#include "qt/ansi.h"
#include "temp_folder.h"
#include "text/unicode_text.h"
#include "window/global_typing.h"
#include "x_form.h"
#include "x_input.h"

#include <QAbstractButton>
#include <thread>

namespace orvane {

namespace {

using namespace std::chrono_literals;

// What xdotool answers, trimmed.
QString Xdotool(const QStringList& arguments) {
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    xdotool.waitForFinished(10000);
    return QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
}

// The built program as the practice form, its ID box taking `idLimit`
// characters where given.
PracticeStarter Program(std::optional<size_t> idLimit) {
    return
        [idLimit](std::vector<PracticeBox> boxes, LineHandler line, std::function<void()> ended) {
            if (idLimit) {
                boxes.at(1).limit = *idLimit;
            }
            return PracticeProcess(ORVANE_PROGRAM)(boxes, std::move(line), std::move(ended));
        };
}

// The window beside a practice form of its own, not the test's form.
class RehearsalOnX : public XFormTest {
protected:
    void SetUp() override {
        // The practice form readable, as a browser is with accessibility on.
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        // The pointer away from where the window opens, as a hand leaves it.
        Xdotool({QStringLiteral("mousemove"), QStringLiteral("1000"), QStringLiteral("700")});
        window.SelectPage(5); // 配置
        window.ShowCentered();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void TearDown() override {
        bindings.reset();
        SetFailureLog({});
    }
    // 演练 clicked once the clock shows a second; the practice form's first
    // box clicked once its countdown ended.
    void Rehearse(std::optional<size_t> idLimit = std::nullopt) {
        bindings.emplace(window, server.Url("http"), OpenKeyboard(window), Program(idLimit), 2s);
        SetFailureLog(bindings->settings.Path("故障记录.txt"));
        XFormTest::Fill(window, 1, "欧阳吉祥", "11010519491231002X", "13800138000");
        XFormTest::Fill(window, 2, "李四", "110105194912310037", "13900139000");
        XFormTest::Fill(window, 4, "Anna·Müller", "11010519491231003x", "13700137000");
        ModalBoxAnswerer boxes;
        bindings->StartSettings();
        ASSERT_EQ(boxes.count, 0);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return Component<QStatusBar>(window, kStatusBar)
                    ->findChildren<QLabel*>()
                    .at(0)
                    ->text()
                    .contains(QStringLiteral("年"));
            },
            10000));
        ASSERT_TRUE(QTest::qWaitFor([] { return XFormTest::FocusListened(); }, 10000));
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        auto* button = Component<QAbstractButton>(window, kRehearseButton);
        QPoint centre = button->mapToGlobal(button->rect().center());
        ModalBoxAnswerer refused;
        std::thread hand([centre] { XInput().ClickLikeAHand(centre.x(), centre.y()); });
        QTest::qWait(300);
        hand.join();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return Line().startsWith(QStringLiteral("演练：")); }, 3000))
            << Line().toStdString() << " " << refused.text.toStdString();
        form = Xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                        QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                        QStringLiteral("演练表单")});
        ASSERT_FALSE(form.isEmpty());
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return Line().startsWith(QStringLiteral("演练开始")); }, 10000))
            << Line().toStdString();
        // The keyboard to the form, as a window manager gives it on a
        // click; this X server has none. Then a click into its first box.
        Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), form});
        Xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), form,
                 QStringLiteral("222"), QStringLiteral("60"), QStringLiteral("click"),
                 QStringLiteral("1")});
        QTest::qWait(300);
    }
    // Ctrl+Alt+V as a hand presses it, V held 150 ms; the line once the
    // press is checked.
    QString Press() {
        QString before = Line();
        std::thread hand([] {
            XInput().PressLikeAHand({XInput::kControl, XInput::kAlt, 'v'}, 150ms);
        });
        bool checked = QTest::qWaitFor(
            [&] {
                QString line = Line();
                return line != before && !line.startsWith(QStringLiteral("正在输入")) &&
                       !line.startsWith(QStringLiteral("演练：正在核对"));
            },
            10000);
        hand.join();
        EXPECT_TRUE(checked) << Line().toStdString();
        QTest::qWait(800); // past the quiet time after a press
        return Line();
    }
    QString Line() { return XFormTest::TypingLine(window); }
    std::string Log() {
        DrainWorkQueues();
        return AnsiFromUtf8(bindings->settings.Bytes("故障记录.txt"));
    }
    void ExpectNothingMarked() {
        for (int group : {1, 2, 4}) {
            EXPECT_FALSE(XFormTest::GroupMarked(window, group)) << group;
        }
    }

    ScriptedServer server{
        [](int fd, const std::atomic<bool>& stopping) { ServeClock(fd, stopping, 0ms); }};
    MainWindow window;
    std::optional<ProgramBindings> bindings;
    QString form; // the practice form's X window
};

TEST_F(RehearsalOnX, ThreePressesArriveRightAndNothingIsMarked) {
    Rehearse();
    EXPECT_TRUE(Press().startsWith(QStringLiteral("第一组 正确，松开按键后 ")))
        << Line().toStdString();
    EXPECT_TRUE(Press().startsWith(QStringLiteral("第二组 正确，松开按键后 ")))
        << Line().toStdString();
    EXPECT_TRUE(Press().startsWith(QStringLiteral("演练通过：3 组全部正确，平均 ")))
        << Line().toStdString();
    ExpectNothingMarked();
    std::string log = Log();
    EXPECT_NE(log.find("演练通过：3 组全部正确"), std::string::npos) << log;
    EXPECT_EQ(log.find("欧阳"), std::string::npos);
}

// The form's ID box takes 17 characters: the press is told by the field
// and what is missing; closing the form gives the day's verdict.
TEST_F(RehearsalOnX, ABoxThatTakesACharacterFewerIsNamed) {
    Rehearse(17);
    EXPECT_EQ(Press(),
              QStringLiteral("第一组 身份证少了一个“X”：按键被别的程序拿走了，或网页来不及接收"));
    constexpr xcb_keysym_t kEscape = 0xFF1B;
    XInput().PressLikeAHand({kEscape}, 100ms); // closes the form
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Line().startsWith(QStringLiteral("演练未通过：1 组中 1 组有误，")); }, 5000))
        << Line().toStdString();
    ExpectNothingMarked();
    EXPECT_NE(Log().find("演练未通过"), std::string::npos);
}

// Pinyin active in the practice form, as most users have it in the bank's.
class RehearsalInputMethodOnX : public RehearsalOnX {
protected:
    void SetUp() override {
        ASSERT_TRUE(qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        QString config = ToUnicode(home.path) + QStringLiteral("/.config");
        environment.insert(QStringLiteral("HOME"), ToUnicode(home.path));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        ASSERT_TRUE(fcitx.Start(environment));
        // The practice form, started by the window, takes fcitx5 as its
        // input method.
        qputenv("QT_IM_MODULE", "fcitx");
        RehearsalOnX::SetUp();
    }
    void TearDown() override {
        RehearsalOnX::TearDown();
        qunsetenv("QT_IM_MODULE");
    }

    TempFolder home;
    Fcitx fcitx;
};

TEST_F(RehearsalInputMethodOnX, PinyinOnInTheFormStillArrivesRight) {
    Rehearse();
    ASSERT_TRUE(QTest::qWaitFor(
        [] {
            Fcitx::Call("Activate");
            return Fcitx::Call("State") == 2;
        },
        5000))
        << "pinyin active in the practice form";
    EXPECT_TRUE(Press().startsWith(QStringLiteral("第一组 正确，松开按键后 ")))
        << Line().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([] { return Fcitx::Call("State") == 2; }, 3000))
        << "pinyin as the user had it";
    ExpectNothingMarked();
}

} // namespace

} // namespace orvane
