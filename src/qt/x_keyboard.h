#pragma once

#include "atspi_focus.h"
#include "bus_input_method.h"
#include "typing/keyboard.h"
#include "x_key_map.h"

#include <map>
#include <optional>
#include <string>
#include <xcb/xcb.h>

namespace orvane {

// The keyboard of an X server, through Qt's connection: the focus and the
// keys' state as the server keeps them, keys pressed through XTEST. A
// character goes on the key that types it, with Shift for a key's second
// level; one that no key types gets a key code no key sends, mapped to the
// character on both levels, as many at a time as there are such codes.
// Those are cleared again once the keys are typed. While it types, Caps
// Lock is off and the first group is in force. The focused box is read
// through the accessibility bus.
class XKeyboard : public Keyboard {
public:
    explicit XKeyboard(xcb_connection_t* connection);
    ~XKeyboard() override;
    XKeyboard(const XKeyboard&) = delete;
    XKeyboard& operator=(const XKeyboard&) = delete;

    std::uintptr_t FocusedWindow() override;
    bool IsOwnWindow(std::uintptr_t window) override;
    KeysDown HeldKeys(const HotKey& hotKey) override;
    std::optional<KeysReady> Prepare(const std::vector<Key>& keys) override;
    void Press(const Key& key) override;
    void Release(const Key& key) override;
    void Finish() override;
    void TurnInputMethodOff(std::function<void(InputMethodFound)> done) override;
    void TurnInputMethodBackOn(std::function<void(bool)> done) override;
    void ReadFocusedField(std::function<void(FieldText)> done) override;
    void ReadField(const std::string& field, std::function<void(FieldText)> done) override;

private:
    struct Locks {
        uint8_t modifiers = 0;
        uint8_t group = 0;
    };

    void ClearLocks();
    bool MapSpareKeys(const std::vector<xcb_keysym_t>& wanted, const XKeyMap& map);
    void ClearSpareKeys();
    void Send(xcb_keycode_t code, uint8_t type);
    quint32 ProcessOf(xcb_window_t window);

    xcb_connection_t* c_;
    xcb_window_t root_;
    struct KeyOnMap {
        xcb_keycode_t code = 0;
        bool shift = false;
    };
    std::map<std::string, KeyOnMap> codes_; // by a key's character, Tab's "\t", Enter's "\n"
    xcb_keycode_t shift_ = 0;
    std::map<xcb_keycode_t, xcb_keysym_t> spare_; // key codes mapped here
    std::optional<Locks> locks_;                  // as the user had them
    BusInputMethod inputMethod_;
    AtspiFocus boxes_;
    xcb_atom_t processAtom_ = XCB_NONE; // _NET_WM_PID
};

} // namespace orvane
