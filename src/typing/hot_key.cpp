#include "hot_key.h"

#include "text/text.h"
#include "typing_texts.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <optional>
#include <string_view>
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

// Sets the modifier the part names; a failure for the user, or nothing.
std::optional<std::string> SetModifier(HotKey& key, const std::string& part) {
    std::string name = ToUpperCase(part);
    bool* flag = name == "CTRL" || name == "CONTROL" ? &key.ctrl
                 : name == "ALT"                     ? &key.alt
                 : name == "SHIFT"                   ? &key.shift
                 : name == "WIN" || name == "SUPER"  ? &key.win
                                                     : nullptr;
    if (flag == nullptr) {
        return UnknownModifierText(part);
    }
    if (*flag) {
        return RepeatedModifierText(part);
    }
    *flag = true;
    return std::nullopt;
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

// Chords that belong to the system or to every program: taken for the whole
// desktop, they would stop working everywhere. Shift does not count: with
// it, most are the same programs' keys again. Windows leaves Ctrl+Alt with
// T, L and the function keys to programs; Linux desktops take them, so
// only there are they refused, and only there does the reason speak of them.
struct ReservedChord {
    const char* keys; // letters and digits
    std::initializer_list<int> functionKeys;
    ReservedUse use;
    bool ctrl;
    bool alt;
    bool win;
    bool linuxOnly = false;
};

#ifdef _WIN32
constexpr bool kOnLinux = false;
#else
constexpr bool kOnLinux = true;
#endif

const std::initializer_list<int> kEveryFunctionKey = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
const char* const kEveryLetterAndDigit = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

const ReservedChord kReservedChords[] = {
    {"ACVXZYSFPNOWTQRL", {}, ReservedUse::Editing, true, false, false},
    {"", {4, 5}, ReservedUse::Page, true, false, false},
    {kEveryLetterAndDigit, {}, ReservedUse::Menu, false, true, false},
    {"", kEveryFunctionKey, ReservedUse::WindowManager, false, true, false},
    {kEveryLetterAndDigit, {}, ReservedUse::System, false, false, true},
    {"TL", {}, ReservedUse::Desktop, true, true, false, true},
    {"", kEveryFunctionKey, ReservedUse::Console, true, true, false, true},
};

std::optional<ReservedUse> ReservedUseOf(const HotKey& key) {
    for (const ReservedChord& chord : kReservedChords) {
        if (chord.ctrl != key.ctrl || chord.alt != key.alt || chord.win != key.win ||
            (chord.linuxOnly && !kOnLinux)) {
            continue;
        }
        bool listed = key.functionKey != 0
                          ? std::find(chord.functionKeys.begin(), chord.functionKeys.end(),
                                      key.functionKey) != chord.functionKeys.end()
                          : std::string_view(chord.keys).find(key.key) != std::string_view::npos;
        if (listed) {
            return chord.use;
        }
    }
    return std::nullopt;
}

} // namespace

Result<HotKey> ParseHotKey(const std::string& text) {
    std::vector<std::string> parts = Parts(text);
    HotKey key;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        if (std::optional<std::string> failure = SetModifier(key, parts[i])) {
            return Failure{*failure};
        }
    }
    if (!SetKey(key, parts.back())) {
        return Failure{UnknownKeyText(parts.back())};
    }
    if (!key.ctrl && !key.alt && !key.win) {
        return Failure{NoModifierText()};
    }
    if (std::optional<ReservedUse> use = ReservedUseOf(key)) {
        return Failure{ReservedKeyText(HotKeyText(key), *use)};
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
