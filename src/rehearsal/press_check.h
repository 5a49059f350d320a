#pragma once

#include "typing/typing_sequence.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace orvane {

// What a difference between what was typed and what arrived most likely
// means, as the user can act on it.
enum class PressFault { None, Cut, InputMethod, Layout, KeyHeld, Lost, Reordered, Unknown };

// One box of the practice form: what the press typed into it, what the box
// holds now, and the most characters it takes (0: no limit). ANSI text.
struct BoxCheck {
    std::string name; // as the user calls it: "身份证", "姓名、手机号"
    std::string typed;
    std::string arrived;
    size_t limit = 0;
};

struct PressCheck {
    PressFault fault = PressFault::None;
    std::string line;                     // for the practice form and the status bar
    std::chrono::milliseconds typedIn{0}; // from the key's release to the last character
};

// "0.28": a time in seconds with `decimals` places, as the lines show it.
std::string SecondsText(std::chrono::milliseconds time, int decimals);

// The boxes a press of `steps` fills, each with what it should hold: the
// text of `filled` (FilledSteps of the same steps) between one {TAB} or
// {ENTER} and the next.
std::vector<BoxCheck> TypedBoxes(const std::vector<SequenceStep>& steps,
                                 const std::vector<SequenceStep>& filled);

// One press of group `group` checked: all boxes alike give "第一组 正确，
// 松开按键后 0.28 秒输入完"; otherwise the first box that differs is named
// with what arrived and the likely cause.
PressCheck CheckPress(int group, const std::vector<BoxCheck>& boxes,
                      std::chrono::milliseconds typedIn);

} // namespace orvane
