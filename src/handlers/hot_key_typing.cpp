#include "hot_key_typing.h"

#include "applicants/group_names.h"
#include "files/failure_log.h"
#include "next_applicant.h"
#include "setting_store.h"
#include "text/ansi_literals.h"
#include "text/text.h"
#include "typing/hot_key.h"
#include "window/beep.h"
#include "window/component_names.h"
#include "window/global_typing.h"
#include "window/window.h"

#include <utility>
#include <variant>

namespace orvane {

namespace {

const std::string kTypingCaption = "输入热键";

// How long the line after a press too soon stays.
constexpr int kQuietShown = 1500;

struct Line {
    std::string line;
    std::string tip;
    std::string log; // the tip without applicant data, where it holds some
};

// Why a press typed nothing, or stopped, in the line and its tooltip; `box`
// is the name of the box it stopped at, `next` of the box after it.
Line FailureLine(const TypingReport& report, int group, const std::string& box,
                 const std::string& next) {
    const std::string unmarked = GroupCaption(group) + "没有标记为已用，请检查表单。";
    switch (report.outcome) {
    case TypingOutcome::NoFocus:
        return {"没有输入：没有输入框",
                "没有输入：没有窗口在接收键盘输入。请先点一下浏览器中的输入框，再按输入热键。"};
    case TypingOutcome::OwnWindow:
        return {"没有输入：焦点在本程序",
                "没有输入：键盘焦点在 Orvane 自己的窗口里。请先点一下浏览器中的输入框，"
                "再按输入热键。"};
    case TypingOutcome::KeysHeld:
        return report.keysSent
                   ? Line{"已停止：按键没松开", "输入时按住输入热键超过 3 秒，已停止；" + unmarked}
                   : Line{"没有输入：按键没松开",
                          "没有输入：按下输入热键后 3 秒内没有松开所有的键。按一下就松开，"
                          "松开后才开始输入。"};
    case TypingOutcome::InputMethod:
        return {"没有输入：输入法",
                "没有输入：无法把输入法切换到英文（直接输入），开着的中文输入法会打乱身份证号。"
                "请先切换到英文，再按输入热键。"};
    case TypingOutcome::FocusChanged:
        return report.keysSent ? Line{"已停止：换了窗口", "输入中途换了窗口，已停止；" + unmarked}
                               : Line{"没有输入：换了窗口", "松开按键前换了窗口，没有输入。"};
    case TypingOutcome::KeyPressed:
        return {"已停止：按了别的键", "输入时按了键盘上的键，已停止；" + unmarked};
    case TypingOutcome::CannotType:
        return {report.keysSent ? "已停止：打不出这些字" : "没有输入：打不出这些字",
                "这台电脑的键盘设置打不出这一组的全部字符，请用“复制”按钮。" +
                    (report.keysSent ? unmarked : std::string())};
    case TypingOutcome::BoxNotEmpty:
        return {"没有输入：输入框里已有内容",
                "没有输入：光标所在的输入框里已有内容（上次输入的一组，或输入法还有没上屏的字）。"
                "请先清空它，或点一下表单中空的第一个输入框，再按输入热键。"};
    case TypingOutcome::Mismatch: {
        std::string stopped = "，与要输入的不同，已停止；" + unmarked;
        return {"已停止：" + box + "不对", box + "输入后读到的是“" + report.arrived + "”" + stopped,
                box + "输入后读到的内容" + stopped};
    }
    case TypingOutcome::NotMoved:
        return {"已停止：没有换到下一个输入框",
                "按 Tab 后光标没有移到" + next + "的输入框，已停止；" + unmarked};
    case TypingOutcome::BoxLeft:
        return {"已停止：光标离开了输入框",
                "输入" + box + "时光标离开了输入框，已停止；" + unmarked};
    case TypingOutcome::Typed:
        break;
    }
    return {};
}

} // namespace

HotKeyTyping::HotKeyTyping(Window& window, WorkQueue& files, std::string file,
                           std::unique_ptr<Keyboard> keyboard)
    : window_(window), files_(files), file_(std::move(file)), keyboard_(std::move(keyboard)),
      timer_(window) {
    if (keyboard_) {
        engine_ = std::make_unique<TypingEngine>(*keyboard_, timer_);
    }
}

HotKeyTyping::~HotKeyTyping() {
    ReleaseHotKey();
}

void HotKeyTyping::Start(const PageSettings& settings) {
    window_.SetContent(kHotKeyBox, settings.hotKey);
    window_.SetContent(kSequenceBox, settings.sequence);
    TakeTyping();
    ShowNext();
}

// What cannot be stored goes back to the key and sequence the file holds.
// One message only: the settings refused (the boxes back to what is in
// force), not stored (the key and sequence before back in force), or set
// once they are stored.
void HotKeyTyping::OnSetClicked() {
    HotKey keyBefore = key_;
    std::vector<SequenceStep> sequenceBefore = sequence_;
    std::string sequenceTextBefore = sequenceText_;
    if (!TakeTyping()) {
        window_.SetContent(kHotKeyBox, keyText_);
        window_.SetContent(kSequenceBox, sequenceText_);
        return;
    }
    ShowNext();
    auto stored = lifetime_.Bind([this] {
        window_.ShowMessage({.text = "设置好了：在浏览器等程序的输入框中按 " + keyText_ +
                                     "，输入下一组（从第一组起，三个“复制”都已变灰的组跳过）。",
                             .caption = kTypingCaption,
                             .kind = MessageKind::Information});
    });
    auto failed = lifetime_.Bind([this, keyBefore, sequenceBefore, sequenceTextBefore] {
        (void)Grab(keyBefore);
        key_ = keyBefore;
        keyText_ = HotKeyText(keyBefore);
        sequence_ = sequenceBefore;
        sequenceText_ = sequenceTextBefore;
        window_.SetContent(kHotKeyBox, keyText_);
        window_.SetContent(kSequenceBox, sequenceText_);
        ShowNext();
    });
    StoreSettings(window_, files_, file_, {{kHotKeyKey, keyText_}, {kSequenceKey, sequenceText_}},
                  stored, failed);
}

Result<> HotKeyTyping::Grab(const HotKey& key) {
    Result<> grabbed = GrabHotKey(window_, key, lifetime_.Bind([this] { OnHotKey(); }),
                                  lifetime_.Bind([this](const Result<>& inForce) {
                                      notInForce_ = inForce ? std::string() : inForce.Reason();
                                      ShowNext();
                                  }));
    // A key refused in place of one in force leaves that one in force.
    if (grabbed || keyText_.empty()) {
        notInForce_ = grabbed ? std::string() : grabbed.Reason();
    }
    return grabbed;
}

// The hot key and the sequence in their boxes, taken; what is wrong with
// them is told, and the key and sequence taken before stay. A sequence is
// taken with a key that cannot be had where none was taken before, so that
// the line can say which group is next once the key is free.
bool HotKeyTyping::TakeTyping() {
    Result<HotKey> key = ParseHotKey(window_.GetContent(kHotKeyBox));
    Result<std::vector<SequenceStep>> sequence = ParseSequence(window_.GetContent(kSequenceBox));
    Result<> taken = key && sequence ? Grab(*key) : Failure{key ? sequence.Reason() : key.Reason()};
    if (sequence && (taken || keyText_.empty())) {
        sequence_ = *sequence;
        sequenceText_ = window_.GetContent(kSequenceBox);
    }
    if (!taken) {
        LogFailureOn(files_, "输入热键没有设置：" + taken.Reason());
        window_.ShowMessage(
            {.text = taken.Reason(), .caption = kTypingCaption, .kind = MessageKind::Warning});
        return false;
    }
    key_ = *key;
    keyText_ = HotKeyText(*key);
    window_.SetContent(kHotKeyBox, keyText_);
    return true;
}

// A press while one is typed says nothing: typing waits for its keys to be
// let go and goes on. One just after a group was typed would land in the
// same form: it types nothing, and says so briefly.
void HotKeyTyping::OnHotKey() {
    if (engine_ && engine_->Typing()) {
        return;
    }
    if (engine_ && engine_->Quiet()) {
        Tell("没有输入：刚输入完一组",
             "刚输入完一组，0.7 秒内再按输入热键不会输入，以免两组输入到同一个表单里。", true,
             kQuietShown);
        return;
    }
    std::optional<int> group =
        practice_ ? practice_->next() : NextGroupToType(window_, FieldsOf(sequence_));
    if (!group && practice_) {
        return;
    }
    if (!group) {
        Tell("没有可输入的组",
             "没有输入：没有可输入的组。有内容、三个“复制”不全是灰色的组才会输入；"
             "按“恢复”可以再输入一次。",
             true);
        return;
    }
    if (!engine_) {
        Tell("没有输入：不能模拟按键",
             "这个桌面不允许程序模拟键盘输入（例如 Wayland 会话），无法输入；请用“复制”按钮。",
             true);
        return;
    }
    int n = *group;
    std::vector<SequenceStep> filled = FilledSteps(sequence_, [this, n](const std::string& key) {
        return TrimAnyBlanks(window_.GetContent(EditBoxName(n, key)));
    });
    Tell("正在输入" + GroupCaption(n) + "…", "松开按键后开始输入" + GroupCaption(n) + "。", false);
    engine_->Press(KeysOf(filled), key_,
                   lifetime_.Bind([this, n, filled,
                                   practising = practice_.has_value()](const TypingReport& report) {
                       OnTyped(n, filled, report, practising);
                   }));
}

// A group is marked once it arrived; read back where the desktop can read
// the form, else said to be unchecked.
// A press into the practice form marks nothing, even where the rehearsal
// ended while it typed.
void HotKeyTyping::OnTyped(int group, const std::vector<SequenceStep>& filled,
                           const TypingReport& report, bool practising) {
    if (practising && (report.keysSent || report.outcome == TypingOutcome::Typed)) {
        if (practice_) {
            practice_->typed(group, filled, report); // what arrived is the rehearsal's to tell
        }
        return;
    }
    if (report.outcome != TypingOutcome::Typed) {
        std::vector<std::string> boxes = BoxNames(sequence_);
        auto name = [&boxes](size_t box) { return box < boxes.size() ? boxes[box] : ""; };
        Line failure = FailureLine(report, group, name(report.box), name(report.box + 1));
        if (!practising) {
            LogFailureOn(files_, failure.log.empty() ? failure.tip : failure.log);
        }
        Tell(failure.line, failure.tip, true);
        return;
    }
    MarkGroupTyped(window_, group);
    std::optional<int> next = NextGroupToType(window_, FieldsOf(sequence_));
    std::string typed = "已输入" + GroupCaption(group);
    std::string tip = (report.checked ? typed + "，读回表单核对无误；"
                                      : typed + "，但这个程序的输入框读不出来，没有核对（未核对），"
                                                "请看一眼表单是否正确；") +
                      (next ? "下一组：" + GroupCaption(*next) + "。" : "没有可输入的组了。");
    std::string line = report.checked ? typed : typed + "（未核对）";
    if (!report.inputMethodRestored) {
        Tell(line + "，输入法未恢复", tip + "输入法没能切换回原来的状态，请手动切换。", true);
        return;
    }
    Tell(line, tip, false);
}

// The line: which group a press types next, or why a press would not work.
void HotKeyTyping::ShowNext() {
    if (practice_) {
        window_.SetStatusPanelText(kStatusBar, kTypingPanel, practiceLine_);
        window_.SetStatusPanelTip(kStatusBar, kTypingPanel, practiceTip_);
        return;
    }
    if (!notInForce_.empty()) {
        window_.SetStatusPanelText(kStatusBar, kTypingPanel, "输入热键没有生效");
        window_.SetStatusPanelTip(kStatusBar, kTypingPanel, "输入热键没有生效：" + notInForce_);
        return;
    }
    std::optional<int> next = NextGroupToType(window_, FieldsOf(sequence_));
    window_.SetStatusPanelText(kStatusBar, kTypingPanel,
                               next ? "下一组：" + GroupCaption(*next) : "没有可输入的组");
    window_.SetStatusPanelTip(kStatusBar, kTypingPanel,
                              next ? "在浏览器的输入框中按 " + keyText_ + "，输入" +
                                         GroupCaption(*next) + "。"
                                   : "没有可输入的组：有内容、三个“复制”不全是灰色的组才会输入。");
}

void HotKeyTyping::Practise(Practice practice) {
    practice_ = std::move(practice);
}

void HotKeyTyping::EndPractice() {
    practice_.reset();
}

void HotKeyTyping::ShowPracticeLine(const std::string& line, const std::string& tip, bool refused) {
    practiceLine_ = line;
    practiceTip_ = tip;
    ++told_; // a line told before goes no more back to the next group
    ShowNext();
    if (refused) {
        PlayBeep(BeepSound::Refused);
    }
}

std::optional<std::string> HotKeyTyping::NotReady() const {
    if (keyText_.empty() || sequence_.empty()) {
        return "还没有设置输入热键和输入顺序：填好后点“设置”，再演练。";
    }
    if (!notInForce_.empty()) {
        return "输入热键没有生效：" + notInForce_;
    }
    if (!engine_) {
        return "这个桌面不允许程序模拟键盘输入（例如 Wayland 会话），无法演练；请用“复制”按钮。";
    }
    return std::nullopt;
}

void HotKeyTyping::OnGroupChanged() {
    if (std::exchange(nextPending_, true)) {
        return;
    }
    timer_.After(std::chrono::milliseconds(0), [this] {
        nextPending_ = false;
        if (!(engine_ && engine_->Typing())) { // the press's own line stands
            ShowNext();
        }
    });
}

void HotKeyTyping::Tell(const std::string& line, const std::string& tip, bool refused, int shown) {
    window_.SetStatusPanelText(kStatusBar, kTypingPanel, line);
    window_.SetStatusPanelTip(kStatusBar, kTypingPanel, tip);
    if (refused) {
        PlayBeep(BeepSound::Refused);
    }
    ShowNextLater(shown);
}

void HotKeyTyping::ShowNextLater(int shown) {
    int told = ++told_;
    timer_.After(std::chrono::milliseconds(shown), [this, told] {
        if (told == told_ && !(engine_ && engine_->Typing())) {
            ShowNext();
        }
    });
}

} // namespace orvane
