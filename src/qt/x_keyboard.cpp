#include "x_keyboard.h"

#include "ansi.h"
#include "x_hot_key.h"
#include "x_key_map.h"

#include <QGuiApplication>
#include <QWindow>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <set>
#include <utility>
// xkb.h names a field "explicit", which C++ keeps for itself.
#define explicit xkb_explicit
#include <xcb/xkb.h>
#undef explicit
#include <xcb/xtest.h>

namespace orvane {

namespace {

// For every program to take a new key map before the first key that needs
// it.
constexpr int kMapSettle = 60;

constexpr xcb_keysym_t kShift = 0xFFE1;
constexpr xcb_keysym_t kTab = 0xFF09;
constexpr xcb_keysym_t kReturn = 0xFF0D;

template <class Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

template <class Reply> Owned<Reply> Own(Reply* reply) {
    return {reply, &std::free};
}

std::string NameOf(const Key& key) {
    return key.kind == Key::Kind::Tab ? "\t" : key.kind == Key::Kind::Enter ? "\n" : key.character;
}

xcb_keysym_t SymbolOf(const Key& key) {
    if (key.kind != Key::Kind::Character) {
        return key.kind == Key::Kind::Tab ? kTab : kReturn;
    }
    QList<uint> code = ToUnicode(key.character).toUcs4();
    return code.isEmpty() ? 0 : KeysymOfCharacter(char32_t(code.front()));
}

bool XkbPresent(xcb_connection_t* c) {
    const xcb_query_extension_reply_t* xkb = xcb_get_extension_data(c, &xcb_xkb_id);
    return xkb != nullptr && xkb->present;
}

// Whether a key with this symbol is one of the chord's modifiers.
bool ModifierOf(const HotKey& hotKey, xcb_keysym_t symbol) {
    switch (symbol) {
    case 0xFFE3: // Control_L
    case 0xFFE4:
        return hotKey.ctrl;
    case 0xFFE9: // Alt_L
    case 0xFFEA:
    case 0xFFE7: // Meta_L
    case 0xFFE8:
        return hotKey.alt;
    case 0xFFE1: // Shift_L
    case 0xFFE2:
        return hotKey.shift;
    case 0xFFEB: // Super_L
    case 0xFFEC:
        return hotKey.win;
    default:
        return false;
    }
}

} // namespace

XKeyboard::XKeyboard(xcb_connection_t* connection)
    : c_(connection), root_(xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root) {}

XKeyboard::~XKeyboard() {
    XKeyboard::Finish();
}

// With the focus on the root window, keys go to whatever window is under
// the pointer: no window has the focus then.
std::uintptr_t XKeyboard::FocusedWindow() {
    auto focus = Own(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
    bool some = focus && focus->focus > XCB_INPUT_FOCUS_POINTER_ROOT && focus->focus != root_;
    return some ? focus->focus : 0;
}

// The focus may be on a child of one of this program's windows.
bool XKeyboard::IsOwnWindow(std::uintptr_t window) {
    std::set<std::uintptr_t> own;
    for (QWindow* ours : QGuiApplication::allWindows()) {
        if (ours->handle() != nullptr) {
            own.insert(ours->winId());
        }
    }
    for (auto at = xcb_window_t(window); at != XCB_NONE && at != root_;) {
        if (own.contains(at)) {
            return true;
        }
        auto tree = Own(xcb_query_tree_reply(c_, xcb_query_tree(c_, at), nullptr));
        at = tree ? tree->parent : XCB_NONE;
    }
    return false;
}

KeysDown XKeyboard::HeldKeys(const HotKey& hotKey) {
    auto keys = Own(xcb_query_keymap_reply(c_, xcb_query_keymap(c_), nullptr));
    if (!keys || std::all_of(std::begin(keys->keys), std::end(keys->keys),
                             [](uint8_t bits) { return bits == 0; })) {
        return KeysDown::None;
    }
    XKeyMap map(c_);
    xcb_keycode_t chordKey = HotKeyCode(c_, hotKey);
    for (int code = 0; code < 256; ++code) {
        bool down = (keys->keys[code / 8] & (1 << (code % 8))) != 0;
        if (down && std::cmp_not_equal(code, chordKey) &&
            !ModifierOf(hotKey, map.SymbolOf(xcb_keycode_t(code)))) {
            return KeysDown::Others;
        }
    }
    return KeysDown::HotKeyOnly;
}

// The keys from the first on that the key map can give, with as many
// spare codes as there are mapped to characters no key types.
std::optional<KeysReady> XKeyboard::Prepare(const std::vector<Key>& keys) {
    ClearLocks();
    XKeyMap map(c_);
    // A new layout takes back the codes it now uses.
    std::erase_if(spare_,
                  [&map](const auto& entry) { return map.SymbolOf(entry.first) != entry.second; });
    std::vector<xcb_keycode_t> ours;
    ours.reserve(spare_.size());
    for (const auto& [code, symbol] : spare_) {
        ours.push_back(code);
    }
    codes_.clear();
    shift_ = map.CodeTyping(kShift, 0, ours);
    // Codes of ours hold a symbol: no unused code is one of them.
    size_t room = spare_.size() + map.UnusedCodes().size();
    std::vector<xcb_keysym_t> wanted;
    size_t count = 0;
    for (const Key& key : keys) {
        xcb_keysym_t symbol = SymbolOf(key);
        if (xcb_keycode_t code = map.CodeTyping(symbol, 0, ours)) {
            codes_[NameOf(key)] = {code, false};
        } else if (xcb_keycode_t shifted = shift_ != 0 ? map.CodeTyping(symbol, 1, ours) : 0) {
            codes_[NameOf(key)] = {shifted, true};
        } else if (std::find(wanted.begin(), wanted.end(), symbol) == wanted.end()) {
            if (symbol == 0 || wanted.size() == room) {
                break;
            }
            wanted.push_back(symbol);
        }
        ++count;
    }
    if (count == 0 && !keys.empty()) {
        return std::nullopt;
    }
    bool changed = MapSpareKeys(wanted, map);
    for (size_t at = 0; at < count; ++at) {
        for (const auto& [code, symbol] : spare_) {
            if (symbol == SymbolOf(keys[at])) {
                codes_[NameOf(keys[at])] = {code, false};
            }
        }
    }
    return KeysReady{count, changed ? kMapSettle : 0};
}

// Each wanted symbol on a spare code: one of ours that has it, a free one,
// or one of ours these keys do not need. Whether the map changed.
bool XKeyboard::MapSpareKeys(const std::vector<xcb_keysym_t>& wanted, const XKeyMap& map) {
    std::vector<xcb_keycode_t> free = map.UnusedCodes();
    std::erase_if(free, [this](xcb_keycode_t code) { return spare_.contains(code); });
    bool changed = false;
    for (xcb_keysym_t symbol : wanted) {
        auto has = [symbol](const auto& entry) { return entry.second == symbol; };
        if (std::any_of(spare_.begin(), spare_.end(), has)) {
            continue;
        }
        xcb_keycode_t code = 0;
        if (!free.empty()) {
            code = free.back();
            free.pop_back();
        } else {
            code = std::find_if(spare_.begin(), spare_.end(), [&wanted](const auto& entry) {
                       return std::find(wanted.begin(), wanted.end(), entry.second) == wanted.end();
                   })->first;
        }
        std::array<xcb_keysym_t, 2> both = {symbol, symbol};
        xcb_change_keyboard_mapping(c_, 1, code, 2, both.data());
        spare_[code] = symbol;
        changed = true;
    }
    if (changed) {
        std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
    }
    return changed;
}

// The key map as it was before: the spare codes hold nothing again.
void XKeyboard::ClearSpareKeys() {
    std::array<xcb_keysym_t, 2> none = {0, 0};
    for (const auto& [code, symbol] : spare_) {
        xcb_change_keyboard_mapping(c_, 1, code, 2, none.data());
    }
    spare_.clear();
    xcb_flush(c_);
}

// Caps Lock would turn the letters typed into capitals, another group the
// keys into its letters: both are set aside until Finish.
void XKeyboard::ClearLocks() {
    if (locks_ || !XkbPresent(c_)) {
        return;
    }
    auto state =
        Own(xcb_xkb_get_state_reply(c_, xcb_xkb_get_state(c_, XCB_XKB_ID_USE_CORE_KBD), nullptr));
    if (!state) {
        return;
    }
    locks_ = Locks{uint8_t(state->lockedMods & XCB_MOD_MASK_LOCK), state->lockedGroup};
    if (locks_->modifiers != 0 || locks_->group != 0) {
        xcb_xkb_latch_lock_state(c_, XCB_XKB_ID_USE_CORE_KBD, XCB_MOD_MASK_LOCK, 0, 1, 0, 0, 0, 0);
        xcb_flush(c_);
    }
}

void XKeyboard::Finish() {
    ClearSpareKeys();
    if (locks_ && (locks_->modifiers != 0 || locks_->group != 0)) {
        xcb_xkb_latch_lock_state(c_, XCB_XKB_ID_USE_CORE_KBD, XCB_MOD_MASK_LOCK, locks_->modifiers,
                                 1, locks_->group, 0, 0, 0);
        xcb_flush(c_);
    }
    locks_.reset();
}

void XKeyboard::Send(xcb_keycode_t code, uint8_t type) {
    xcb_test_fake_input(c_, type, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
}

// A character on a key's second level goes with Shift around it.
void XKeyboard::Press(const Key& key) {
    auto found = codes_.find(NameOf(key));
    if (found != codes_.end()) {
        if (found->second.shift) {
            Send(shift_, XCB_KEY_PRESS);
        }
        Send(found->second.code, XCB_KEY_PRESS);
        xcb_flush(c_);
    }
}

void XKeyboard::Release(const Key& key) {
    auto found = codes_.find(NameOf(key));
    if (found != codes_.end()) {
        Send(found->second.code, XCB_KEY_RELEASE);
        if (found->second.shift) {
            Send(shift_, XCB_KEY_RELEASE);
        }
        xcb_flush(c_);
    }
}

void XKeyboard::TurnInputMethodOff(std::function<void(InputMethodFound)> done) {
    inputMethod_.TurnOff(std::move(done));
}

void XKeyboard::TurnInputMethodBackOn(std::function<void(bool)> done) {
    inputMethod_.TurnBackOn(std::move(done));
}

// The process that made the window, or the window it is part of.
quint32 XKeyboard::ProcessOf(xcb_window_t window) {
    if (processAtom_ == XCB_NONE) {
        const char name[] = "_NET_WM_PID";
        auto atom =
            Own(xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, sizeof name - 1, name), nullptr));
        processAtom_ = atom ? atom->atom : XCB_NONE;
    }
    for (xcb_window_t at = window; at != XCB_NONE && at != root_;) {
        auto property = Own(xcb_get_property_reply(
            c_, xcb_get_property(c_, 0, at, processAtom_, XCB_ATOM_CARDINAL, 0, 1), nullptr));
        if (property && xcb_get_property_value_length(property.get()) == 4) {
            return *static_cast<const uint32_t*>(xcb_get_property_value(property.get()));
        }
        auto tree = Own(xcb_query_tree_reply(c_, xcb_query_tree(c_, at), nullptr));
        at = tree ? tree->parent : XCB_NONE;
    }
    return 0;
}

void XKeyboard::ReadFocusedField(std::function<void(FieldText)> done) {
    boxes_.Read(ProcessOf(xcb_window_t(FocusedWindow())), std::move(done));
}

void XKeyboard::ReadField(const std::string& field, std::function<void(FieldText)> done) {
    boxes_.ReadAgain(field, std::move(done));
}

} // namespace orvane
