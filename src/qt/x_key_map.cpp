#include "x_key_map.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

namespace orvane {

XKeyMap::XKeyMap(xcb_connection_t* connection) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    first_ = setup->min_keycode;
    last_ = setup->max_keycode;
    std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> map(
        xcb_get_keyboard_mapping_reply(
            connection, xcb_get_keyboard_mapping(connection, first_, uint8_t(last_ - first_ + 1)),
            nullptr),
        &std::free);
    if (!map) {
        return;
    }
    perCode_ = map->keysyms_per_keycode;
    const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(map.get());
    symbols_.assign(symbols, symbols + xcb_get_keyboard_mapping_keysyms_length(map.get()));
}

const xcb_keysym_t* XKeyMap::SymbolsOf(xcb_keycode_t code) const {
    size_t at = size_t(code - first_) * size_t(perCode_);
    return code < first_ || perCode_ == 0 || at + perCode_ > symbols_.size() ? nullptr
                                                                             : &symbols_[at];
}

xcb_keycode_t XKeyMap::CodeTyping(xcb_keysym_t symbol, int level,
                                  const std::vector<xcb_keycode_t>& skipped) const {
    for (int code = first_; std::cmp_less_equal(code, last_) && level < perCode_; ++code) {
        const xcb_keysym_t* symbols = SymbolsOf(xcb_keycode_t(code));
        if (symbols != nullptr && symbols[level] == symbol &&
            std::find(skipped.begin(), skipped.end(), code) == skipped.end()) {
            return xcb_keycode_t(code);
        }
    }
    return 0;
}

xcb_keysym_t XKeyMap::SymbolOf(xcb_keycode_t code) const {
    const xcb_keysym_t* symbols = SymbolsOf(code);
    return symbols != nullptr ? symbols[0] : 0;
}

std::vector<xcb_keycode_t> XKeyMap::UnusedCodes() const {
    std::vector<xcb_keycode_t> unused;
    for (int code = last_; std::cmp_greater_equal(code, first_); --code) {
        const xcb_keysym_t* symbols = SymbolsOf(xcb_keycode_t(code));
        if (symbols != nullptr &&
            std::all_of(symbols, symbols + perCode_, [](xcb_keysym_t s) { return s == 0; })) {
            unused.push_back(xcb_keycode_t(code));
        }
    }
    return unused;
}

xcb_keysym_t KeysymOfCharacter(char32_t character) {
    bool latin1 =
        (character >= 0x20 && character < 0x7F) || (character >= 0xA0 && character < 0x100);
    return latin1 ? xcb_keysym_t(character) : xcb_keysym_t(0x01000000 | character);
}

} // namespace orvane
