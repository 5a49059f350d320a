#include "hot_key.h"

#include "runtime/text.h"
#include "typing_texts.h"

#include <cctype>
#include <vector>

namespace orvane {

namespace {

std::vector<std::string> Parts(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t plus = text.find('+'); plus != std::string::npos; plus = text.find('+', start)) {
        parts.push_back(TrimBlanks(text.substr(start, plus - start)));
        start = plus + 1;
    }
    parts.push_back(TrimBlanks(text.substr(start)));
    return parts;
}

bool SetModifier(HotKey& key, const std::string& part) {
    std::string name = ToUpperCase(part);
    bool* flag = name == "CTRL" || name == "CONTROL" ? &key.ctrl
                 : name == "ALT"                     ? &key.alt
                 : name == "SHIFT"                   ? &key.shift
                 : name == "WIN" || name == "SUPER"  ? &key.win
                                                     : nullptr;
    if (flag == nullptr || *flag) {
        return false;
    }
    *flag = true;
    return true;
}

bool SetKey(HotKey& key, const std::string& part) {
    std::string name = ToUpperCase(part);
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        key.key = name[0];
        return true;
    }
    if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F' &&
        std::isdigit(static_cast<unsigned char>(name[1])) &&
        (name.size() == 2 || std::isdigit(static_cast<unsigned char>(name[2])))) {
        int number = std::stoi(name.substr(1));
        if (number >= 1 && number <= 12) {
            key.functionKey = number;
            return true;
        }
    }
    return false;
}

} // namespace

std::variant<HotKey, std::string> ParseHotKey(const std::string& text) {
    std::vector<std::string> parts = Parts(text);
    HotKey key;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        if (!SetModifier(key, parts[i])) {
            return UnknownModifierText(parts[i]);
        }
    }
    if (!SetKey(key, parts.back())) {
        return UnknownKeyText(parts.back());
    }
    if (!key.ctrl && !key.alt && !key.win) {
        return NoModifierText();
    }
    return key;
}

std::string HotKeyText(const HotKey& key) {
    std::string text;
    for (auto [on, name] : {std::pair{key.ctrl, "Ctrl+"}, std::pair{key.alt, "Alt+"},
                            std::pair{key.shift, "Shift+"}, std::pair{key.win, "Win+"}}) {
        if (on) {
            text += name;
        }
    }
    if (key.functionKey != 0) {
        return text + 'F' + std::to_string(key.functionKey);
    }
    return text + key.key;
}

} // namespace orvane
