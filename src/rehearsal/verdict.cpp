#include "verdict.h"

#include <algorithm>
#include <array>

namespace orvane {

namespace {

// What to change, for the cause most presses met.
std::string AdviceFor(PressFault fault) {
    switch (fault) {
    case PressFault::Cut:
        return "有的资料比输入框能放的长，请核对";
    case PressFault::InputMethod:
        return "输入法没能关掉，按热键前请先切到英文，或换一个输入法再演练";
    case PressFault::Layout:
        return "请把键盘布局换成美式键盘再演练";
    case PressFault::KeyHeld:
        return "按热键时一按就松开，再演练一次";
    case PressFault::Lost:
        return "有按键被拦下，请关掉会拦截按键的程序（如安全软件的键盘保护）再演练";
    case PressFault::Reordered:
        return "电脑太忙，按键的先后被打乱，请关掉其他程序再演练";
    default:
        return "原因不明，开抢时请改用“复制”按钮粘贴";
    }
}

PressFault MostMet(const std::vector<PressCheck>& presses) {
    std::array<int, size_t(PressFault::Unknown) + 1> met{};
    for (const PressCheck& press : presses) {
        ++met.at(size_t(press.fault));
    }
    met[size_t(PressFault::None)] = 0;
    return PressFault(std::max_element(met.begin(), met.end()) - met.begin());
}

} // namespace

std::string RehearsalVerdict(const std::vector<PressCheck>& presses, const std::string& clock) {
    if (presses.empty()) {
        return "演练没有做完：没有按过输入热键；" + clock;
    }
    auto right = std::count_if(presses.begin(), presses.end(),
                               [](const PressCheck& p) { return p.fault == PressFault::None; });
    std::string count = std::to_string(presses.size());
    if (size_t(right) == presses.size()) {
        std::chrono::milliseconds total{0};
        for (const PressCheck& press : presses) {
            total += press.typedIn;
        }
        return "演练通过：" + count + " 组全部正确，平均 " +
               SecondsText(total / std::ptrdiff_t(presses.size()), 1) + " 秒；" + clock;
    }
    return "演练未通过：" + count + " 组中 " + std::to_string(presses.size() - size_t(right)) +
           " 组有误，" + AdviceFor(MostMet(presses)) + "；" + clock;
}

} // namespace orvane
