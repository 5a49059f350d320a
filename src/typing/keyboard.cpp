#include "keyboard.h"

#include "text/text.h"

namespace orvane {

std::vector<Key> KeysOf(const std::vector<Stroke>& strokes) {
    std::vector<Key> keys;
    for (const Stroke& stroke : strokes) {
        if (stroke.kind == Stroke::Kind::Tab || stroke.kind == Stroke::Kind::Enter) {
            keys.push_back(
                {stroke.kind == Stroke::Kind::Tab ? Key::Kind::Tab : Key::Kind::Enter, {}});
            continue;
        }
        for (size_t at = 0; at < stroke.text.size();) {
            size_t length = CharacterLength(stroke.text, at);
            keys.push_back({Key::Kind::Character, stroke.text.substr(at, length)});
            at += length;
        }
    }
    return keys;
}

} // namespace orvane
