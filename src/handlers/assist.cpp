#include "assist.h"

#include "clock_display.h"
#include "next_applicant.h"
#include "opening/opening_time.h"
#include "runtime/ansi_literals.h"
#include "runtime/profile_file.h"
#include "runtime/text.h"
#include "storage/assist_settings.h"
#include "typing/hot_key.h"
#include "window/beep.h"
#include "window/component_names.h"
#include "window/global_typing.h"
#include "window/message_box.h"
#include "window/window.h"
#include "window/window_work.h"

#include <utility>
#include <variant>

namespace orvane {

namespace {

const std::string kTypingCaption = "输入热键";

std::string TypingFailureText(TypingResult result, int group) {
    switch (result) {
    case TypingResult::OwnWindow:
    case TypingResult::NoFocus:
        return "没有输入：请先点一下浏览器等其他程序中的输入框，再按输入热键。";
    case TypingResult::FocusChanged:
        return "输入中途换了窗口，已停止；" + GroupCaption(group) + "没有标记为已用。";
    case TypingResult::Unavailable:
        return "这个桌面不允许程序模拟键盘输入（例如 Wayland 会话），无法输入。";
    case TypingResult::Typed:
        break;
    }
    return {};
}

} // namespace

Assist::Assist(Window& window, ClockDisplay& clock, WorkQueue& files, std::string file)
    : window_(window), clock_(clock), files_(files), file_(std::move(file)) {}

Assist::~Assist() {
    ReleaseHotKey();
}

void Assist::Start() {
    AssistSettings settings = AssistSettingsIn(ReadProfileFile(file_).items);
    storedOpening_ = settings.openingTime;
    window_.SetContent(kOpeningTimeBox, settings.openingTime);
    OnOpeningTimeEdited();
    window_.SetTicked(kSoundBox, settings.sound);
    clock_.SetSound(settings.sound);
    window_.SetContent(kHotKeyBox, settings.hotKey);
    window_.SetContent(kSequenceBox, settings.sequence);
    TakeTyping();
}

void Assist::OnOpeningTimeEdited() {
    auto parsed = ParseOpeningTime(window_.GetContent(kOpeningTimeBox));
    if (const std::string* failure = std::get_if<std::string>(&parsed)) {
        window_.SetFinding(kOpeningTimeBox, *failure);
        clock_.SetOpening(std::nullopt);
        return;
    }
    window_.SetFinding(kOpeningTimeBox, "");
    std::optional<OpeningTime> time = std::get<std::optional<OpeningTime>>(parsed);
    clock_.SetOpening(time);
    std::string text = time ? OpeningTimeText(*time) : std::string();
    if (text != storedOpening_) {
        storedOpening_ = text;
        Store(kOpeningTimeKey, text);
    }
}

void Assist::OnSoundClicked() {
    bool on = window_.GetTicked(kSoundBox);
    clock_.SetSound(on);
    Store(kSoundKey, SoundText(on));
}

void Assist::OnSetClicked() {
    if (!TakeTyping()) {
        return;
    }
    Store(kHotKeyKey, TrimBlanks(window_.GetContent(kHotKeyBox)));
    Store(kSequenceKey, window_.GetContent(kSequenceBox));
    window_.ShowMessage("设置好了：在浏览器等程序的输入框中按 " +
                            TrimBlanks(window_.GetContent(kHotKeyBox)) +
                            "，输入下一组（从第一组起，三个“复制”都已变灰的组跳过）。",
                        kBoxOk | kBoxIconInformation, kTypingCaption);
}

// The hot key and the sequence in their boxes, taken; what is wrong with
// them is told, and the key taken before stays.
bool Assist::TakeTyping() {
    auto key = ParseHotKey(window_.GetContent(kHotKeyBox));
    auto sequence = ParseSequence(window_.GetContent(kSequenceBox));
    std::optional<std::string> failure;
    if (const std::string* wrong = std::get_if<std::string>(&key)) {
        failure = *wrong;
    } else if (const std::string* wrongSequence = std::get_if<std::string>(&sequence)) {
        failure = *wrongSequence;
    } else {
        std::weak_ptr<int> alive = alive_;
        failure = GrabHotKey(window_, std::get<HotKey>(key), [this, alive] {
            if (!alive.expired()) {
                OnHotKey();
            }
        });
    }
    if (failure) {
        window_.ShowMessage(*failure, kBoxOk | kBoxIconWarning, kTypingCaption);
        return false;
    }
    sequence_ = std::get<std::vector<Stroke>>(sequence);
    return true;
}

// A press while the group before is still being typed (its last keys are
// out, the map not yet put back) types the next group right after it.
void Assist::OnHotKey() {
    if (typing_) {
        pressedAgain_ = true;
        return;
    }
    std::optional<int> group = NextGroupToType(window_);
    if (!group) {
        return;
    }
    int n = *group;
    std::vector<Stroke> strokes = FilledStrokes(sequence_, [this, n](const std::string& key) {
        return TrimAnyBlanks(window_.GetContent(EditBoxName(n, key)));
    });
    typing_ = true;
    std::weak_ptr<int> alive = alive_;
    TypeIntoFocus(window_, std::move(strokes), [this, alive, n](TypingResult result) {
        if (alive.expired()) {
            return;
        }
        typing_ = false;
        if (result == TypingResult::Typed) {
            MarkGroupTyped(window_, n);
            if (std::exchange(pressedAgain_, false)) {
                OnHotKey();
            }
        } else {
            pressedAgain_ = false;
            window_.ShowMessage(TypingFailureText(result, n), kBoxOk | kBoxIconWarning,
                                kTypingCaption);
        }
    });
}

void Assist::Store(const std::string& key, const std::string& value) {
    std::string file = file_;
    RunForWindow<std::optional<std::string>>(
        files_, window_, [file, key, value] { return WriteAssistSetting(file, key, value); },
        [&window = window_, file](std::optional<std::string> failure) {
            if (failure) {
                window.ShowMessage("设置没有保存，原来的文件保持不变。\n文件：" + file +
                                       "\n原因：" + *failure,
                                   kBoxOk | kBoxIconError, "保存失败");
            }
        });
}

} // namespace orvane
