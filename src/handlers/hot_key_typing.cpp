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
// How long a press's line stays before the line shows the next group again.
constexpr int kLineShown = 4000;

struct Line {
    std::string line;
    std::string tip;
};

// Why a press typed nothing, or stopped, in the line and its tooltip.
Line FailureLine(const TypingReport& report, int group) {
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
        return {
            "没有输入：按键没松开",
            "没有输入：按下输入热键后 3 秒内没有松开所有的键。按一下就松开，松开后才开始输入。"};
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
        return {"没有输入：打不出这些字",
                "没有输入：这台电脑的键盘设置打不出这一组的全部字符，请用“复制”按钮。"};
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

void HotKeyTyping::Start(const AssistSettings& settings) {
    window_.SetContent(kHotKeyBox, settings.hotKey);
    window_.SetContent(kSequenceBox, settings.sequence);
    TakeTyping();
    ShowNext();
}

// What cannot be stored goes back to the key and sequence the file holds.
void HotKeyTyping::OnSetClicked() {
    std::string keyBefore = keyText_;
    std::string sequenceBefore = sequenceText_;
    if (!TakeTyping()) {
        return;
    }
    std::weak_ptr<const int> alive = alive_;
    auto failed = [this, alive, keyBefore, sequenceBefore] {
        if (!alive.expired()) {
            window_.SetContent(kHotKeyBox, keyBefore);
            window_.SetContent(kSequenceBox, sequenceBefore);
            TakeTyping();
            ShowNext();
        }
    };
    StoreSetting(window_, files_, file_, kHotKeyKey, keyText_, failed);
    StoreSetting(window_, files_, file_, kSequenceKey, sequenceText_, failed);
    ShowNext();
    window_.ShowMessage({.text = "设置好了：在浏览器等程序的输入框中按 " + keyText_ +
                                 "，输入下一组（从第一组起，三个“复制”都已变灰的组跳过）。",
                         .caption = kTypingCaption,
                         .kind = MessageKind::Information});
}

Result<> HotKeyTyping::Grab(const HotKey& key) {
    std::weak_ptr<const int> alive = alive_;
    return GrabHotKey(window_, key, [this, alive] {
        if (!alive.expired()) {
            OnHotKey();
        }
    });
}

// The hot key and the sequence in their boxes, taken; what is wrong with
// them is told, and the key taken before stays.
bool HotKeyTyping::TakeTyping() {
    Result<HotKey> key = ParseHotKey(window_.GetContent(kHotKeyBox));
    Result<std::vector<Stroke>> sequence = ParseSequence(window_.GetContent(kSequenceBox));
    Result<> taken = key && sequence ? Grab(*key) : Failure{key ? sequence.Reason() : key.Reason()};
    if (!taken) {
        LogFailureOn(files_, "输入热键没有设置：" + taken.Reason());
        window_.ShowMessage(
            {.text = taken.Reason(), .caption = kTypingCaption, .kind = MessageKind::Warning});
        return false;
    }
    keyText_ = HotKeyText(*key);
    window_.SetContent(kHotKeyBox, keyText_);
    sequence_ = *sequence;
    sequenceText_ = window_.GetContent(kSequenceBox);
    return true;
}

// A press while one is typed, or just after, is not taken; it says nothing,
// as a key held down repeats.
void HotKeyTyping::OnHotKey() {
    if (engine_ && engine_->Busy()) {
        return;
    }
    std::optional<int> group = NextGroupToType(window_, FieldsOf(sequence_));
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
    std::vector<Key> keys = KeysOf(FilledStrokes(sequence_, [this, n](const std::string& key) {
        return TrimAnyBlanks(window_.GetContent(EditBoxName(n, key)));
    }));
    Tell("正在输入" + GroupCaption(n) + "…", "松开按键后开始输入" + GroupCaption(n) + "。", false);
    std::weak_ptr<const int> alive = alive_;
    engine_->Press(std::move(keys), [this, alive, n](TypingReport report) {
        if (!alive.expired()) {
            OnTyped(n, report);
        }
    });
}

void HotKeyTyping::OnTyped(int group, const TypingReport& report) {
    if (report.outcome != TypingOutcome::Typed) {
        Line failure = FailureLine(report, group);
        LogFailureOn(files_, failure.tip);
        Tell(failure.line, failure.tip, true);
        return;
    }
    MarkGroupTyped(window_, group);
    std::optional<int> next = NextGroupToType(window_, FieldsOf(sequence_));
    std::string tip = "已输入" + GroupCaption(group) + "；" +
                      (next ? "下一组：" + GroupCaption(*next) + "。" : "没有可输入的组了。");
    if (!report.inputMethodRestored) {
        Tell("已输入" + GroupCaption(group) + "，输入法未恢复",
             tip + "输入法没能切换回原来的状态，请手动切换。", true);
        return;
    }
    Tell("已输入" + GroupCaption(group), tip, false);
}

void HotKeyTyping::ShowNext() {
    std::optional<int> next = NextGroupToType(window_, FieldsOf(sequence_));
    window_.SetStatusPanelText(kStatusBar, kTypingPanel,
                               next ? "下一组：" + GroupCaption(*next) : "没有可输入的组");
    window_.SetStatusPanelTip(kStatusBar, kTypingPanel,
                              next ? "在浏览器的输入框中按 " + keyText_ + "，输入" +
                                         GroupCaption(*next) + "。"
                                   : "没有可输入的组：有内容、三个“复制”不全是灰色的组才会输入。");
}

void HotKeyTyping::Tell(const std::string& line, const std::string& tip, bool refused) {
    window_.SetStatusPanelText(kStatusBar, kTypingPanel, line);
    window_.SetStatusPanelTip(kStatusBar, kTypingPanel, tip);
    if (refused) {
        PlayBeep(BeepSound::Refused);
    }
    ShowNextLater();
}

void HotKeyTyping::ShowNextLater() {
    int told = ++told_;
    std::weak_ptr<const int> alive = alive_;
    timer_.After(std::chrono::milliseconds(kLineShown), [this, alive, told] {
        if (!alive.expired() && told == told_ && !(engine_ && engine_->Busy())) {
            ShowNext();
        }
    });
}

} // namespace orvane
