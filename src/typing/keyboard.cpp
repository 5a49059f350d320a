#include "keyboard.h"

#include "text/text.h"

namespace orvane {

std::vector<Key> KeysOf(const std::vector<SequenceStep>& steps) {
    std::vector<Key> keys;
    for (const SequenceStep& step : steps) {
        if (step.kind == SequenceStep::Kind::Tab || step.kind == SequenceStep::Kind::Enter) {
            keys.push_back(
                {step.kind == SequenceStep::Kind::Tab ? Key::Kind::Tab : Key::Kind::Enter, {}});
            continue;
        }
        for (size_t at = 0; at < step.text.size();) {
            size_t length = CharacterLength(step.text, at);
            keys.push_back({Key::Kind::Character, step.text.substr(at, length)});
            at += length;
        }
    }
    return keys;
}

} // namespace orvane
