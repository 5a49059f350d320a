#include "press_check.h"

#include "applicants/group_names.h"
#include "text/text.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>

namespace orvane {

namespace {

using Characters = std::vector<std::string>;

Characters CharactersOf(const std::string& text) {
    Characters characters;
    for (size_t at = 0; at < text.size();) {
        size_t length = CharacterLength(text, at);
        characters.push_back(text.substr(at, length));
        at += length;
    }
    return characters;
}

bool IsWide(const std::string& character) {
    return IsLeadByte(character.front());
}

// Where `longer` holds one character more than `shorter` and is otherwise
// the same: that character's place.
std::optional<size_t> OneMore(const Characters& longer, const Characters& shorter) {
    if (longer.size() != shorter.size() + 1) {
        return std::nullopt;
    }
    auto differ = std::mismatch(shorter.begin(), shorter.end(), longer.begin());
    auto at = size_t(differ.first - shorter.begin());
    if (!std::equal(shorter.begin() + std::ptrdiff_t(at), shorter.end(),
                    longer.begin() + std::ptrdiff_t(at) + 1)) {
        return std::nullopt;
    }
    return at;
}

// A layout other than the one the keys were chosen for types another
// character for the same key every time: one to one, the keyboard's own
// characters for the keys of ASCII ones (a French layout's "é" for "2").
bool LooksLikeAnotherLayout(const Characters& typed, const Characters& arrived) {
    if (typed.size() != arrived.size() || typed == arrived) {
        return false;
    }
    std::map<std::string, std::string> pressed;
    for (size_t i = 0; i < typed.size(); ++i) {
        if (IsWide(typed[i])) {
            return false;
        }
        auto [entry, added] = pressed.emplace(typed[i], arrived[i]);
        if (!added && entry->second != arrived[i]) {
            return false;
        }
    }
    return true;
}

// An input method left in its full-width mode types "１２３" for "123":
// GB18030 keeps each full-width form at 0xA3 and the ASCII byte plus 0x80.
bool FullWidthOf(const Characters& typed, const Characters& arrived) {
    if (typed.size() != arrived.size() || typed == arrived) {
        return false;
    }
    for (size_t i = 0; i < typed.size(); ++i) {
        const std::string& c = typed[i];
        bool wide = c.size() == 1 && arrived[i] == std::string{'\xA3', char(c[0] | 0x80)};
        if (c != arrived[i] && !wide) {
            return false;
        }
    }
    return true;
}

// Where `arrived` lost one character of `typed` and then stopped short:
// the typing stops at a box that does not read back as typed. The lost
// character's place.
std::optional<size_t> LostThenStopped(const Characters& typed, const Characters& arrived) {
    if (arrived.empty() || arrived.size() + 1 >= typed.size()) {
        return std::nullopt;
    }
    auto differ = std::mismatch(arrived.begin(), arrived.end(), typed.begin());
    if (differ.first == arrived.end()) {
        return std::nullopt; // only stopped short: nothing lost before
    }
    auto at = size_t(differ.first - arrived.begin());
    if (!std::equal(arrived.begin() + std::ptrdiff_t(at), arrived.end(),
                    typed.begin() + std::ptrdiff_t(at) + 1)) {
        return std::nullopt;
    }
    return at;
}

bool SameCharactersReordered(Characters typed, Characters arrived) {
    std::sort(typed.begin(), typed.end());
    std::sort(arrived.begin(), arrived.end());
    return typed == arrived;
}

bool HoldsWideNotTyped(const Characters& typed, const Characters& arrived) {
    return std::any_of(arrived.begin(), arrived.end(), [&typed](const std::string& c) {
        return IsWide(c) && std::find(typed.begin(), typed.end(), c) == typed.end();
    });
}

PressCheck Extra(const BoxCheck& box, const Characters& arrived, size_t at) {
    const std::string& added = arrived[at];
    bool doubled = (at > 0 && arrived[at - 1] == added) ||
                   (at + 1 < arrived.size() && arrived[at + 1] == added);
    std::string line = box.name + "多了一个“" + added + "”：";
    if (IsWide(added)) {
        return {PressFault::InputMethod, line + "输入法没能关掉"};
    }
    if (doubled) {
        return {PressFault::KeyHeld, line + "有键按住没松开，字重复了"};
    }
    return {PressFault::Unknown, line + "别的程序或网页自己加了字"};
}

// What the first box that differs says, without the group.
PressCheck Difference(const BoxCheck& box) {
    Characters typed = CharactersOf(box.typed);
    Characters arrived = CharactersOf(box.arrived);
    std::string count = std::to_string(box.limit);
    if (box.limit > 0 && arrived.size() == box.limit && typed.size() > box.limit &&
        std::equal(arrived.begin(), arrived.end(), typed.begin())) {
        return {PressFault::Cut, box.name + "只进去了前 " + count + " 个字：这个框最多能放 " +
                                     count + " 个字，请核对这一项"};
    }
    if (arrived.empty()) {
        return {PressFault::Lost,
                box.name + "什么也没收到：焦点不在这个框，或按键被别的程序拿走了"};
    }
    if (std::optional<size_t> at = OneMore(arrived, typed)) {
        return Extra(box, arrived, *at);
    }
    if (std::optional<size_t> at = OneMore(typed, arrived)) {
        return {PressFault::Lost,
                box.name + "少了一个“" + typed[*at] + "”：按键被别的程序拿走了，或网页来不及接收"};
    }
    if (std::optional<size_t> at = LostThenStopped(typed, arrived)) {
        return {PressFault::Lost, box.name + "少了一个“" + typed[*at] +
                                      "”，输入随后停下：按键被别的程序拿走了，或网页来不及接收"};
    }
    if (FullWidthOf(typed, arrived)) {
        return {PressFault::InputMethod,
                box.name + "收到的是全角的“" + box.arrived + "”：输入法处在全角状态"};
    }
    if (SameCharactersReordered(typed, arrived)) {
        return {PressFault::Reordered, box.name + "收到的字顺序乱了（“" + box.arrived +
                                           "”）：网页来不及接收，按键的先后被打乱了"};
    }
    if (LooksLikeAnotherLayout(typed, arrived)) {
        return {PressFault::Layout, box.name + "收到的是“" + box.arrived +
                                        "”：键盘布局不是美式键盘，同样的键打出了别的字"};
    }
    if (HoldsWideNotTyped(typed, arrived)) {
        return {PressFault::InputMethod,
                box.name + "收到的是“" + box.arrived + "”：输入法没能关掉"};
    }
    return {PressFault::Unknown,
            box.name + "应为“" + box.typed + "”，收到的是“" + box.arrived + "”"};
}

} // namespace

std::string SecondsText(std::chrono::milliseconds time, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, double(time.count()) / 1000);
    return text;
}

std::vector<BoxCheck> TypedBoxes(const std::vector<SequenceStep>& steps,
                                 const std::vector<SequenceStep>& filled) {
    std::vector<BoxCheck> boxes;
    for (const std::string& name : BoxNames(steps)) {
        boxes.push_back({.name = name});
    }
    size_t box = 0;
    for (const SequenceStep& step : filled) {
        if (step.kind == SequenceStep::Kind::Tab || step.kind == SequenceStep::Kind::Enter) {
            ++box;
        } else if (box < boxes.size()) {
            boxes[box].typed += step.text;
        }
    }
    return boxes;
}

PressCheck CheckPress(int group, const std::vector<BoxCheck>& boxes,
                      std::chrono::milliseconds typedIn) {
    for (const BoxCheck& box : boxes) {
        if (box.arrived != box.typed) {
            PressCheck check = Difference(box);
            check.line = GroupCaption(group) + " " + check.line;
            check.typedIn = typedIn;
            return check;
        }
    }
    return {PressFault::None,
            GroupCaption(group) + " 正确，松开按键后 " + SecondsText(typedIn, 2) + " 秒输入完",
            typedIn};
}

} // namespace orvane
