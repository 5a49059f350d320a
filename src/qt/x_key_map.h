#pragma once

#include <cstdint>
#include <vector>
#include <xcb/xcb.h>

namespace orvane {

// The X server's key map as the core protocol gives it: for each key code
// its symbols, the first being what the key types with no modifier in the
// first group.
class XKeyMap {
public:
    explicit XKeyMap(xcb_connection_t* connection);

    // The first key code that types `symbol` at the level (0: no modifier,
    // 1: Shift) of the first group, leaving out `skipped`; 0 for none.
    xcb_keycode_t CodeTyping(xcb_keysym_t symbol, int level,
                             const std::vector<xcb_keycode_t>& skipped) const;
    // Whether the key code is one of the keyboard's.
    bool Holds(xcb_keycode_t code) const { return SymbolsOf(code) != nullptr; }
    // The symbol a key code types with no modifier.
    xcb_keysym_t SymbolOf(xcb_keycode_t code) const;
    // Key codes without any symbol: no key of the keyboard sends them.
    std::vector<xcb_keycode_t> UnusedCodes() const;

private:
    const xcb_keysym_t* SymbolsOf(xcb_keycode_t code) const;

    xcb_keycode_t first_ = 0;
    xcb_keycode_t last_ = 0;
    int perCode_ = 0;
    std::vector<xcb_keysym_t> symbols_;
};

// The X keysym of a Unicode character: Latin-1 as it is, the rest in the
// Unicode range of keysyms.
xcb_keysym_t KeysymOfCharacter(char32_t character);

} // namespace orvane
