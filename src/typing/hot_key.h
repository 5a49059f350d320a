#pragma once

#include "runtime/result.h"

#include <optional>
#include <string>
#include <variant>

namespace orvane {

// A global hot key: modifiers and one key, as "Ctrl+Alt+V" writes it.
struct HotKey {
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
    bool win = false;
    // 'A'-'Z', '0'-'9', or a function key 1-12 as below.
    char key = 0;
    int functionKey = 0; // F1 to F12; then `key` is 0

    bool operator==(const HotKey&) const = default;
};

inline const std::string kDefaultHotKeyText = "Ctrl+Alt+V";

// The hot key a text names, parts joined by "+" in any case and order, the
// key last: "Ctrl+Alt+V", "ctrl+shift+F9". Without Ctrl, Alt or Win it
// would take a key the user types, and is refused. A failure is a message
// for the user that names the part not understood.
Result<HotKey> ParseHotKey(const std::string& text);

// The text that ParseHotKey reads back: "Ctrl+Alt+V".
std::string HotKeyText(const HotKey& key);

} // namespace orvane
