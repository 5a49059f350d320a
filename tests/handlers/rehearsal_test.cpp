// 演练 in the window, over a keyboard the test scripts and a practice form
// the test plays (the lines it sends, what its boxes report back), against
// a time server on 127.0.0.1: when it refuses, the countdown to the
// practice opening, a line per press, no group marked, the verdict in the
// failure log without the applicants' data.
#include "app/work_queues.h"
#include "clock_server.h"
#include "desk.h"
#include "fake_keyboard.h"
#include "files/failure_log.h"
#include "profile/profile_file.h"
#include "program_bindings.h"
#include "rehearsal/practice_messages.h"
#include "text/unicode_text.h"
#include "window/component_names.h"

#include <algorithm>

namespace orvane {

namespace {

using namespace std::chrono_literals;

// The practice form as the test plays it.
struct PlayedForm {
    std::vector<PracticeBox> boxes;
    LineHandler line;
    std::function<void()> ended;
    std::vector<std::string> received;
    int opened = 0;

    bool Received(const FormCommand& command) const {
        return std::ranges::count(received, FormCommandLine(command)) > 0;
    }
    // The lines the form was given to show: each press's, then the verdict.
    std::vector<std::string> Shown() const {
        std::vector<std::string> lines;
        for (const std::string& line : received) {
            std::optional<FormCommand> command = ReadFormCommand(line);
            if (command && command->kind == FormCommand::Kind::Show) {
                lines.push_back(command->text);
            }
        }
        return lines;
    }
};

class PlayedChannel final : public PracticeChannel {
public:
    explicit PlayedChannel(std::shared_ptr<PlayedForm> form) : form_(std::move(form)) {}
    bool Send(const std::string& line) override {
        form_->received.push_back(line);
        return true;
    }

private:
    std::shared_ptr<PlayedForm> form_;
};

PracticeStarter Played(const std::shared_ptr<PlayedForm>& form) {
    return [form](const std::vector<PracticeBox>& boxes, LineHandler line,
                  std::function<void()> ended) -> Result<std::unique_ptr<PracticeChannel>> {
        form->boxes = boxes;
        form->received.clear();
        form->line = std::move(line);
        form->ended = std::move(ended);
        ++form->opened;
        return std::unique_ptr<PracticeChannel>(new PlayedChannel(form));
    };
}

class RehearsalHandler : public DeskTest {
protected:
    void SetUp() override { SetFailureLog(bindings->settings.Path("故障记录.txt")); }
    void TearDown() override { SetFailureLog({}); }

    void Fill(int group, const char* name, const char* id, const char* phone) {
        window.SetContent(EditBoxName(group, NameKey()), name);
        window.SetContent(EditBoxName(group, IdKey()), id);
        window.SetContent(EditBoxName(group, PhoneKey()), phone);
    }
    // The settings in force, and the clock showing a second.
    void Start() {
        bindings->StartSettings();
        ASSERT_TRUE(TakeMessages().empty());
        ASSERT_TRUE(PassUntil(
            window, [&] { return PanelTextOf(window, kTimePanel).find("年") != std::string::npos; },
            10000));
    }
    // The form's boxes report what the keyboard's form holds, as each box
    // does once its text changed.
    void Report() {
        for (size_t box = 0; box < form->boxes.size(); ++box) {
            form->line(FormReportLine({FormReport::Kind::Box, box, std::chrono::steady_clock::now(),
                                       keyboard->form.at(box)}));
        }
    }
    // A press at the form's first box, and its line once it is checked.
    std::string PressAndReport() {
        size_t shown = form->Shown().size();
        keyboard->form = {"", "", "", ""};
        keyboard->box = 0;
        bindings->typing.OnHotKey();
        EXPECT_TRUE(PassUntil(
            window, [&] { return Line().starts_with("演练：正在核对"); }, 3000))
            << Line();
        Report();
        EXPECT_TRUE(PassUntil(
            window, [&] { return form->Shown().size() > shown; }, 5000));
        return form->Shown().size() > shown ? form->Shown()[shown] : std::string();
    }
    std::string Line() { return PanelTextOf(window, kTypingPanel); }
    // Whether the countdown came to the practice opening and told the form.
    bool Opened() {
        return PassUntil(
            window,
            [&] {
                return form->Received({FormCommand::Kind::Start, {}});
            },
            4000);
    }
    bool Unmarked(int group) {
        return std::ranges::all_of(kFieldKeys, [&](const std::string& key) {
            return window.GetEnabled(CopyButtonName(group, key));
        });
    }
    std::string Log() {
        DrainWorkQueues();
        return AnsiFromUtf8(bindings->settings.Bytes("故障记录.txt"));
    }
    void Bind(std::chrono::seconds lead) {
        bindings.reset();
        keyboard = new FakeKeyboard(timer);
        bindings.emplace(window, server.Url("http"), std::unique_ptr<Keyboard>(keyboard),
                         Played(form), lead);
        SetFailureLog(bindings->settings.Path("故障记录.txt"));
    }

    ScriptedServer server{
        [](int fd, const std::atomic<bool>& stopping) { ServeClock(fd, stopping, 0ms); }};
    WindowTimer timer{window};
    FakeKeyboard* keyboard = new FakeKeyboard(timer);
    std::shared_ptr<PlayedForm> form = std::make_shared<PlayedForm>();
    std::optional<ProgramBindings> bindings{std::in_place,      window,
                                            server.Url("http"), std::unique_ptr<Keyboard>(keyboard),
                                            Played(form),       1s};
};

// Three presses, each told at once; no group marked; the form told each
// line and emptied; the verdict in the log says how many and how fast,
// with the clock, and holds no applicant's data.
TEST_F(RehearsalHandler, EachPressIsToldAndTheVerdictIsLoggedWithoutData) {
    Fill(1, "张三", "11010519491231002X", "13800138000");
    Fill(3, "李四", "110105194912310037", "13900139000");
    Fill(4, "王五", "110105194912310045", "13700137000");
    Start();
    Click(window, kRehearseButton);
    ASSERT_TRUE(TakeMessages().empty());
    EXPECT_EQ(form->opened, 1);
    EXPECT_EQ(form->boxes.size(), 3u);
    EXPECT_EQ(form->boxes[1].name, "身份证");
    bindings->typing.OnHotKey();
    EXPECT_EQ(Line(), "演练还没开始") << "before the practice opening nothing is typed";
    EXPECT_TRUE(keyboard->presses.empty());
    ASSERT_TRUE(Opened());
    EXPECT_TRUE(Line().starts_with("演练开始")) << Line();

    for (const char* group : {"第一组", "第三组", "第四组"}) {
        std::string line = PressAndReport();
        EXPECT_TRUE(line.starts_with(std::string(group) + " 正确，松开按键后 ")) << line;
        Pass(window, 800); // past the quiet time after a press
    }
    EXPECT_EQ(keyboard->Typed(), "张三\t11010519491231002X\t13800138000"
                                 "李四\t110105194912310037\t13900139000"
                                 "王五\t110105194912310045\t13700137000");
    for (int group : {1, 3, 4}) {
        EXPECT_TRUE(Unmarked(group)) << group;
    }
    EXPECT_TRUE(Line().starts_with("演练通过：3 组全部正确，平均 ")) << Line();
    EXPECT_EQ(form->Shown().back(), Line()) << "the verdict in the form too";
    std::string log = Log();
    EXPECT_NE(log.find("演练通过：3 组全部正确"), std::string::npos) << log;
    EXPECT_NE(log.find("时钟：误差在 ±"), std::string::npos) << log;
    for (const char* data : {"张三", "李四", "1101051949", "1380013"}) {
        EXPECT_EQ(log.find(data), std::string::npos) << data;
    }

    // Out of the practice, the hot key types the first group again and marks it.
    form->ended();
    Pass(window, 800);
    keyboard->form = {"", "", "", ""};
    keyboard->box = 0;
    bindings->typing.OnHotKey();
    EXPECT_TRUE(PassUntil(
        window, [&] { return !Unmarked(1); }, 3000));
}

// A box that loses a key: the press is told by its field and what arrived;
// the verdict says what to change.
TEST_F(RehearsalHandler, ABoxThatLosesAKeyIsNamedWithWhatArrived) {
    Fill(2, "张三", "11010519491231002X", "13800138000");
    Start();
    Click(window, kRehearseButton);
    ASSERT_TRUE(Opened());
    keyboard->dropKey = 2 + 1 + 5; // the ID's fifth character, "5"
    std::string line = PressAndReport();
    EXPECT_EQ(line,
              "第二组 身份证少了一个“5”，输入随后停下：按键被别的程序拿走了，或网页来不及接收");
    EXPECT_TRUE(Unmarked(2));
    EXPECT_TRUE(Line().starts_with("演练未通过：1 组中 1 组有误，")) << Line();
    EXPECT_NE(Log().find("演练未通过"), std::string::npos);
}

// The countdown runs 15 s on the server's clock, named as the practice's;
// a second 演练 while one runs, and 演练 near the real opening, say why
// and open nothing; the form closed before a press gives its verdict too.
TEST_F(RehearsalHandler, TheCountdownRunsFifteenSecondsAndRefusalsSayWhy) {
    Bind(Rehearsal::kLeadTime);
    Fill(1, "张三", "11010519491231002X", "13800138000");
    Start();
    Click(window, kRehearseButton);
    std::string panel = PanelTextOf(window, kTimePanel);
    EXPECT_TRUE(panel.find("00:00:15") != std::string::npos ||
                panel.find("00:00:14") != std::string::npos)
        << panel;
    EXPECT_TRUE(panel.starts_with("     距演练开始")) << panel;
    Click(window, kRehearseButton);
    std::vector<Message> boxes = TakeMessages();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "演练已经在进行：关掉演练表单后才能重新演练。");
    EXPECT_EQ(form->opened, 1);
    form->ended();
    Pass(window, 100);
    EXPECT_TRUE(Line().starts_with("演练没有做完：没有按过输入热键；时钟：")) << Line();
    EXPECT_EQ(PanelTextOf(window, kTimePanel).find("演练"), std::string::npos)
        << "the time again once the form is closed";

    // A minute and a half before the real opening.
    auto soon = std::chrono::system_clock::now() + 8h + 90s;
    std::time_t at = std::chrono::system_clock::to_time_t(soon);
    std::tm beijing{};
    gmtime_r(&at, &beijing);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &beijing);
    window.SetContent(kOpeningTimeBox, text);
    window.FocusComponent(kOpeningTimeBox);
    bindings->countdown.OnOpeningTimeConfirmed();
    Click(window, kRehearseButton);
    boxes = TakeMessages();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "离开始时间不到两分钟，现在不能演练：演练会占用输入热键和倒数。");
    EXPECT_EQ(form->opened, 1);
}

// The form closed while a press types, or before its check: one verdict,
// and the group typed into the form stays unmarked.
TEST_F(RehearsalHandler, AFormClosedMidPressGivesOneVerdictAndMarksNothing) {
    Fill(1, "张三", "11010519491231002X", "13800138000");
    Start();
    Click(window, kRehearseButton);
    ASSERT_TRUE(Opened());
    bindings->typing.OnHotKey();
    ASSERT_TRUE(PassUntil(
        window, [&] { return Line().starts_with("演练：正在核对"); }, 3000));
    form->ended(); // before the boxes reported, or the check ran
    Pass(window, 1000);
    EXPECT_TRUE(Line().starts_with("演练未通过：1 组中 1 组有误")) << Line();
    std::string log = Log();
    EXPECT_EQ(log.find("演练未通过"), log.rfind("演练未通过")) << log;

    Click(window, kRehearseButton);
    ASSERT_TRUE(TakeMessages().empty());
    ASSERT_TRUE(Opened());
    Pass(window, 800);
    keyboard->form = {"", "", "", ""};
    keyboard->box = 0;
    bindings->typing.OnHotKey();
    form->ended(); // while the keys go
    Pass(window, 1500);
    EXPECT_TRUE(Line().starts_with("演练没有做完")) << Line();
    EXPECT_EQ(keyboard->Typed(), "张三\t11010519491231002X\t13800138000"
                                 "张三\t11010519491231002X\t13800138000")
        << "the second press typed in full";
    EXPECT_TRUE(Unmarked(1));
}

// Enter ends the sequence: the form has 提交 for it, and no box after.
TEST_F(RehearsalHandler, TheFormHasABoxForEachBoxTheSequenceFills) {
    ASSERT_TRUE(WriteProfileItem(bindings->settings.Path("信息.ini"), "配置", "输入顺序",
                                 "{手机号}{TAB}{TAB}{姓名}{身份证}{ENTER}")
                    .Ok());
    Fill(1, "张三", "11010519491231002X", "13800138000");
    Start();
    Click(window, kRehearseButton);
    ASSERT_EQ(form->boxes.size(), 3u);
    EXPECT_EQ(form->boxes[0].name, "手机号");
    EXPECT_EQ(form->boxes[1].name, "第2个输入框");
    EXPECT_EQ(form->boxes[2].name, "姓名、身份证");
}

TEST_F(RehearsalHandler, WithoutAGroupToTypeNothingOpens) {
    Start();
    Click(window, kRehearseButton);
    std::vector<Message> boxes = TakeMessages();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "没有可输入的组：演练要用有内容、三个“复制”不全是灰色的组。");
    EXPECT_EQ(form->opened, 0);
}

} // namespace

} // namespace orvane
