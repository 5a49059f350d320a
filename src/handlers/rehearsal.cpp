#include "rehearsal.h"

#include "applicants/group_names.h"
#include "clock_display.h"
#include "files/failure_log.h"
#include "files/program_directory.h"
#include "hot_key_typing.h"
#include "next_applicant.h"
#include "rehearsal/practice_messages.h"
#include "rehearsal/verdict.h"
#include "text/ansi_literals.h"
#include "window/component_names.h"
#include "window/window.h"
#include "window/window_thread.h"

#include <utility>

namespace orvane {

namespace {

using namespace std::chrono;

const std::string kCaption = "演练";

// What arrives in the form comes some time after the last key: a press is
// checked once its boxes were quiet this long, or at the latest after
// kLongestWait.
constexpr milliseconds kSettled{300};
constexpr milliseconds kLongestWait{3000};
constexpr milliseconds kPoll{100};
// How long the verdict stays in the status bar.
constexpr int kVerdictShown = 30000;

class ProcessChannel final : public PracticeChannel {
public:
    explicit ProcessChannel(std::unique_ptr<ChildProcess> child) : child_(std::move(child)) {}
    bool Send(const std::string& line) override { return child_->Send(line); }

private:
    std::unique_ptr<ChildProcess> child_;
};

} // namespace

PracticeStarter PracticeProcess(std::string program) {
    return [program = std::move(program)](
               const std::vector<PracticeBox>& boxes, LineHandler line,
               std::function<void()> ended) -> Result<std::unique_ptr<PracticeChannel>> {
        Result<std::unique_ptr<ChildProcess>> child =
            ChildProcess::Start(program.empty() ? ProgramPath() : program, PracticeWords(boxes),
                                std::move(line), std::move(ended));
        if (!child) {
            return Failure{child.Reason()};
        }
        return std::unique_ptr<PracticeChannel>(new ProcessChannel(std::move(*child)));
    };
}

Rehearsal::Rehearsal(Window& window, ClockDisplay& clock, HotKeyTyping& typing, WorkQueue& files,
                     PracticeStarter start, std::chrono::seconds lead)
    : window_(window), clock_(clock), typing_(typing), files_(files), start_(std::move(start)),
      lead_(lead) {}

Rehearsal::~Rehearsal() {
    if (form_ && !finished_) {
        typing_.EndPractice();
        clock_.EndPractice();
    }
}

// A rehearsal needs the hot key in force, a group to type, the clock to
// count on, and the real opening not near.
std::optional<std::string> Rehearsal::Refusal() const {
    if (form_ && !finished_) {
        return "演练已经在进行：关掉演练表单后才能重新演练。";
    }
    if (std::optional<std::string> notReady = typing_.NotReady()) {
        return notReady;
    }
    if (GroupsToType(window_, FieldsOf(typing_.Sequence())).empty()) {
        return "没有可输入的组：演练要用有内容、三个“复制”不全是灰色的组。";
    }
    if (window_.GetInterval(kTicker) == 0) {
        return "底部时间已停止：演练要用它倒数，请先点“停止/恢复 底部时间”。";
    }
    std::optional<seconds> fromOpening = clock_.FromOpening();
    if (fromOpening && *fromOpening <= kOpeningMargin) {
        return "离开始时间不到两分钟，现在不能演练：演练会占用输入热键和倒数。";
    }
    return std::nullopt;
}

void Rehearsal::OnRehearseClicked() {
    if (std::optional<std::string> refusal = Refusal()) {
        window_.ShowMessage({.text = *refusal, .caption = kCaption, .kind = MessageKind::Warning});
        return;
    }
    std::vector<std::string> names = BoxNames(typing_.Sequence());
    // Enter sends the form; nothing is typed into a box after it.
    if (typing_.Sequence().back().kind == SequenceStep::Kind::Enter) {
        names.pop_back();
    }
    if (names.size() > kPracticeBoxLimit) {
        window_.ShowMessage({.text = "输入顺序要填 " + std::to_string(names.size()) +
                                     " 个输入框，演练表单最多 " +
                                     std::to_string(kPracticeBoxLimit) + " 个。",
                             .caption = kCaption,
                             .kind = MessageKind::Warning});
        return;
    }
    std::vector<PracticeBox> boxes;
    boxes.reserve(names.size());
    for (const std::string& name : names) {
        boxes.push_back({name, 0});
    }
    Begin(boxes);
}

void Rehearsal::Begin(const std::vector<PracticeBox>& boxes) {
    if (!clock_.CountToPractice(lead_, lifetime_.Bind([this] { OnOpening(); }))) {
        window_.ShowMessage({.text = "还没有取到北京时间，稍等几秒再演练。",
                             .caption = kCaption,
                             .kind = MessageKind::Warning});
        return;
    }
    form_.reset(); // the form of a rehearsal done
    formLife_.Renew();
    auto line = formLife_.Bind([this](const std::string& text) { OnFormLine(text); });
    auto ended = formLife_.Bind([this] { OnFormEnded(); });
    Result<std::unique_ptr<PracticeChannel>> form = start_(
        boxes,
        [line](const std::string& text) { PostToWindowThread([line, text] { line(text); }); },
        [ended] { PostToWindowThread(ended); });
    if (!form) {
        clock_.EndPractice();
        LogFailureOn(files_, "演练表单没有打开：" + form.Reason());
        window_.ShowMessage(
            {.text = form.Reason(), .caption = kCaption, .kind = MessageKind::Warning});
        return;
    }
    form_ = std::move(*form);
    groups_ = GroupsToType(window_, FieldsOf(typing_.Sequence()));
    typed_ = 0;
    opened_ = false;
    finished_ = false;
    press_.reset();
    arrived_.assign(boxes.size(), {});
    lastArrival_.reset();
    checks_.clear();
    typing_.Practise(
        {.next = [this] { return NextPress(); },
         .typed = [this](int group, const std::vector<SequenceStep>& filled,
                         const TypingReport& report) { OnTyped(group, filled, report); }});
    Show("演练：" + std::to_string(lead_.count()) + " 秒后开始",
         "演练表单已打开。状态栏倒数到“开始”时，点演练表单的第一个框，按 " + typing_.KeyText() +
             "，每组按一次，和在银行网页上一样。",
         false);
}

void Rehearsal::OnOpening() {
    opened_ = true;
    form_->Send(FormCommandLine({FormCommand::Kind::Start, {}}));
    Show("演练开始：在演练表单中按 " + typing_.KeyText(),
         "点演练表单的第一个框，按 " + typing_.KeyText() + "，输入" +
             GroupCaption(groups_.front()) + "；每组按一次。",
         false);
}

std::optional<int> Rehearsal::NextPress() {
    if (!opened_) {
        Show("演练还没开始", "等状态栏倒数完、演练表单显示“开始”，再按输入热键。", true);
        return std::nullopt;
    }
    if (press_) {
        Show("正在核对上一组", "上一组还在核对，看到它的结果后再按。", true);
        return std::nullopt;
    }
    return groups_[typed_];
}

// What the form got is checked once its boxes settle: its reports trail
// the keys by the time the two processes take.
void Rehearsal::OnTyped(int group, const std::vector<SequenceStep>& filled,
                        const TypingReport& report) {
    ++typed_;
    press_ = Press{group, TypedBoxes(typing_.Sequence(), filled), report.released,
                   steady_clock::now() + kLongestWait};
    Show("演练：正在核对" + GroupCaption(group) + "…", "正在看演练表单收到了什么。", false);
    window_.RunAfter(int(kSettled.count()), lifetime_.Bind([this] { CheckWhenSettled(); }));
}

void Rehearsal::OnFormLine(const std::string& line) {
    std::optional<FormReport> report = ReadFormReport(line);
    if (!report || report->kind != FormReport::Kind::Box || report->box >= arrived_.size()) {
        return;
    }
    arrived_[report->box] = std::move(report->text);
    lastArrival_ = report->at;
}

void Rehearsal::CheckWhenSettled() {
    if (finished_) {
        return; // the form was closed first, and its verdict told
    }
    auto now = steady_clock::now();
    bool arriving = lastArrival_ && now - *lastArrival_ < kSettled;
    if (press_ && arriving && now < press_->checkBy) {
        window_.RunAfter(int(kPoll.count()), lifetime_.Bind([this] { CheckWhenSettled(); }));
        return;
    }
    Check();
    if (typed_ == groups_.size()) {
        Finish();
    }
}

void Rehearsal::Check() {
    if (!press_) {
        return;
    }
    for (size_t box = 0; box < press_->boxes.size() && box < arrived_.size(); ++box) {
        press_->boxes[box].arrived = arrived_[box];
    }
    milliseconds typedIn{0};
    if (lastArrival_ && *lastArrival_ > press_->released) {
        typedIn = duration_cast<milliseconds>(*lastArrival_ - press_->released);
    }
    PressCheck check = CheckPress(press_->group, press_->boxes, typedIn);
    checks_.push_back(check);
    press_.reset();
    arrived_.assign(arrived_.size(), {});
    lastArrival_.reset();
    form_->Send(FormCommandLine({FormCommand::Kind::Show, check.line}));
    std::string next = typed_ < groups_.size() ? "。下一次按 " + typing_.KeyText() + " 输入" +
                                                     GroupCaption(groups_[typed_]) + "。"
                                               : "。";
    Show(check.line, check.line + next, check.fault != PressFault::None);
}

// The form stays open with the verdict until the user closes it.
void Rehearsal::OnFormEnded() {
    if (form_ && !finished_) {
        Finish();
    }
    form_.reset();
}

// The day's verdict, once: every group typed, or the form closed.
void Rehearsal::Finish() {
    if (std::exchange(finished_, true)) {
        return;
    }
    Check(); // a press whose boxes were still settling counts as they stand
    std::string verdict = RehearsalVerdict(checks_, clock_.StateLine());
    LogFailureOn(files_, verdict);
    form_->Send(FormCommandLine({FormCommand::Kind::Show, verdict}));
    typing_.EndPractice();
    clock_.EndPractice();
    typing_.Say(verdict, verdict + "（已记入故障记录.txt）", kVerdictShown);
}

void Rehearsal::Show(const std::string& line, const std::string& tip, bool refused) {
    typing_.ShowPracticeLine(line, tip, refused);
}

} // namespace orvane
