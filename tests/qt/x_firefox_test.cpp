// The hot key into Firefox ESR, where users book, with accessibility on and
// fcitx5's pinyin active, as a Chinese user has it: a press arrives byte
// for byte and is read back before its group is marked; a box whose limit
// is one character short is caught and the group stays next; a box that
// holds a composition is typed nothing into. The page is served on
// 127.0.0.1 and reports its boxes to the test.
#include "fcitx.h"
#include "program_bindings.h"
#include "qt/ansi.h"
#include "temp_folder.h"
#include "window/global_typing.h"
#include "x_form.h"
#include "x_input.h"

#include <httplib.h>
#include <mutex>
#include <thread>

namespace orvane {

namespace {

using std::chrono::milliseconds;

// Three boxes; every change reported to /v as their values on three lines.
// The page asks /c for what to do next: "reset" empties the boxes and
// focuses the first, "limit" does so and keeps the second to 17 characters.
const char kPage[] = R"(<!doctype html><meta charset="utf-8"><title>form</title>
<body style="margin:0">
<input id="n" style="position:absolute;left:20px;top:20px;width:300px;height:30px">
<input id="i" style="position:absolute;left:20px;top:70px;width:300px;height:30px">
<input id="p" style="position:absolute;left:20px;top:120px;width:300px;height:30px">
<script>
const boxes = [n, i, p];
const report = () => fetch('/v', {method: 'POST', body: boxes.map(b => b.value).join('\n')});
boxes.forEach(b => b.addEventListener('input', report));
setInterval(() => fetch('/c').then(r => r.text()).then(c => {
  if (!c) return;
  if (c === 'limit') i.maxLength = 17; else i.removeAttribute('maxlength');
  boxes.forEach(b => b.value = '');
  n.focus();
  report();
}), 100);
report();
</script>)";

// The page's server: the boxes as last reported, and the next command.
class FormPage {
public:
    FormPage() {
        server_.Get("/", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(kPage, "text/html; charset=utf-8");
        });
        server_.Post("/v", [this](const httplib::Request& request, httplib::Response&) {
            std::scoped_lock lock(mutex_);
            boxes_ = request.body;
            ++reports_;
        });
        server_.Get("/c", [this](const httplib::Request&, httplib::Response& response) {
            std::scoped_lock lock(mutex_);
            response.set_content(std::exchange(command_, std::string()), "text/plain");
        });
        port = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~FormPage() {
        server_.stop();
        thread_.join();
    }
    std::string Boxes() {
        std::scoped_lock lock(mutex_);
        return boxes_;
    }
    int Reports() {
        std::scoped_lock lock(mutex_);
        return reports_;
    }
    void Command(const std::string& command) {
        std::scoped_lock lock(mutex_);
        command_ = command;
    }

    int port = 0;

private:
    httplib::Server server_;
    std::thread thread_;
    std::mutex mutex_;
    std::string boxes_;
    std::string command_;
    int reports_ = 0;
};

// The browser and the input method of the test's own; Orvane beside them,
// its window not shown, as behind the browser.
class FirefoxForm : public XFormTest {
protected:
    void SetUp() override {
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), ToUnicode(home.path));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           ToUnicode(home.path) + QStringLiteral("/.config"));
        environment.insert(QStringLiteral("GTK_IM_MODULE"), QStringLiteral("fcitx"));
        environment.insert(QStringLiteral("XMODIFIERS"), QStringLiteral("@im=fcitx"));
        environment.insert(QStringLiteral("GNOME_ACCESSIBILITY"), QStringLiteral("1"));
        ASSERT_TRUE(fcitx.Start(environment));
        ASSERT_TRUE(QTest::qWaitFor([] { return FocusListened(); }, 10000));
        browser.setProcessEnvironment(environment);
        browser.start(QStringLiteral("firefox-esr"),
                      {QStringLiteral("--kiosk"), QStringLiteral("--no-remote"),
                       QStringLiteral("--profile"), ToUnicode(profile.path),
                       QStringLiteral("http://127.0.0.1:%1/").arg(page.port)});
        ASSERT_TRUE(QTest::qWaitFor([&] { return page.Reports() > 0; }, 60000))
            << "the page loaded";
        // The keyboard to the browser, as a window manager gives it on a
        // click; this X server has none.
        ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"),
                                    {QStringLiteral("search"), QStringLiteral("--sync"),
                                     QStringLiteral("--onlyvisible"), QStringLiteral("--class"),
                                     QStringLiteral("firefox"), QStringLiteral("windowfocus"),
                                     QStringLiteral("--sync")}),
                  0);
        // A click into the first box, and pinyin on once the browser's input
        // context has the focus.
        ASSERT_TRUE(QTest::qWaitFor(
            [] {
                XInput().Click(170, 35);
                QTest::qWait(200);
                Fcitx::Call("Activate");
                return Fcitx::Call("State") == 2;
            },
            20000))
            << "pinyin active in the browser";
        Fill(window, 1, "吉𠮷祥", "11010519491231002X", "13800138000");
        bindings.StartSettings();
    }
    void TearDown() override {
        bindings.clock.Stop();
        XFormTest::TearDown();
        browser.terminate();
        browser.waitForFinished(10000);
    }
    static void PressHotKey() {
        std::thread([] {
            XInput().PressLikeAHand({XInput::kControl, XInput::kAlt, 'v'}, milliseconds(120));
        }).join();
    }
    bool WaitForBoxes(const char8_t* boxes) {
        std::string wanted(reinterpret_cast<const char*>(boxes));
        return QTest::qWaitFor([&] { return page.Boxes() == wanted; }, 5000);
    }
    bool WaitForTypingLine(const char16_t* line) {
        return QTest::qWaitFor([&] { return TypingLine(window) == QString::fromUtf16(line); },
                               8000);
    }
    // The line and its tooltip, for a failure's message.
    std::string Line() {
        QLabel* line = Component<QStatusBar>(window, kStatusBar)->findChildren<QLabel*>().at(1);
        return (line->text() + QStringLiteral(" / ") + line->toolTip()).toStdString();
    }
    void Reset(const std::string& command) {
        page.Command(command);
        ASSERT_TRUE(QTest::qWaitFor([&] { return page.Boxes() == "\n\n"; }, 5000));
        QTest::qWait(300); // past the quiet time after a press
    }

    TempFolder home;
    TempFolder profile;
    QProcessEnvironment environment;
    Fcitx fcitx;
    FormPage page;
    QProcess browser;
    MainWindow window;
    ProgramBindings bindings{window, kNoTimeServer, OpenKeyboard(window)};
};

TEST_F(FirefoxForm, ReadBackMarksOnlyWhatArrivedAndLeavesACompositionAlone) {
    PressHotKey();
    EXPECT_TRUE(WaitForTypingLine(u"已输入第一组")) << Line();
    EXPECT_TRUE(WaitForBoxes(u8"吉𠮷祥\n11010519491231002X\n13800138000")) << page.Boxes();
    EXPECT_TRUE(GroupMarked(window, 1));
    EXPECT_EQ(Fcitx::Call("State"), 2) << "pinyin as the user had it";

    // A page whose ID box takes 17 characters.
    QTest::qWait(500);
    Fill(window, 2, "欧阳吉祥", "11010519491231003X", "13900139000");
    Reset("limit");
    PressHotKey();
    EXPECT_TRUE(WaitForTypingLine(u"已停止：身份证不对")) << Line();
    EXPECT_TRUE(WaitForBoxes(u8"欧阳吉祥\n11010519491231003\n")) << page.Boxes();
    EXPECT_FALSE(GroupMarked(window, 2));

    // The user has begun a name in pinyin. The hot key's grab takes the
    // keyboard from the browser, which then commits or drops the
    // composition, as its input method does when a program loses the
    // keyboard; the press finds the box holding it and types nothing.
    Reset("reset");
    XInput().TypeLikeAHand("zhang");
    ASSERT_TRUE(WaitForBoxes(u8"zhang\n\n"));
    PressHotKey();
    EXPECT_TRUE(WaitForTypingLine(u"没有输入：输入框里已有内容")) << Line();
    QTest::qWait(500);
    EXPECT_TRUE(page.Boxes() == "zhang\n\n" || page.Boxes() == "\n\n") << page.Boxes();
    EXPECT_FALSE(GroupMarked(window, 2));
}

} // namespace

} // namespace orvane
