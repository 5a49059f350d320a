#pragma once

#include <chrono>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <thread>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

namespace orvane {

// Real input through the X server, as a user's hand gives it: the XTEST
// extension moves the pointer, clicks and presses keys at screen
// coordinates, on a connection of its own.
class XInput {
public:
    XInput() : c_(xcb_connect(nullptr, nullptr)) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
    }
    ~XInput() { xcb_disconnect(c_); }
    XInput(const XInput&) = delete;
    XInput& operator=(const XInput&) = delete;

    void Click(int x, int y) {
        xcb_test_fake_input(c_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_, int16_t(x),
                            int16_t(y), 0);
        xcb_test_fake_input(c_, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, root_, 0, 0, 0);
        xcb_test_fake_input(c_, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, root_, 0, 0, 0);
        xcb_flush(c_);
    }
    // A click as a hand makes it: the pointer there first, the button held
    // 80 ms, the hand moving on after.
    void ClickLikeAHand(int x, int y) {
        xcb_test_fake_input(c_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_, int16_t(x),
                            int16_t(y), 0);
        xcb_flush(c_);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        xcb_test_fake_input(c_, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, root_, 0, 0, 0);
        xcb_flush(c_);
        std::this_thread::sleep_for(std::chrono::milliseconds(80));
        xcb_test_fake_input(c_, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, root_, 0, 0, 0);
        xcb_flush(c_);
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        xcb_test_fake_input(c_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_, int16_t(x + 3),
                            int16_t(y + 2), 0);
        xcb_flush(c_);
    }
    // Presses the keys (X keysyms) in order and lets them go in reverse.
    void Chord(std::initializer_list<xcb_keysym_t> keysyms) {
        for (xcb_keysym_t keysym : keysyms) {
            xcb_test_fake_input(c_, XCB_KEY_PRESS, Keycode(keysym), XCB_CURRENT_TIME, root_, 0, 0,
                                0);
        }
        for (auto keysym = std::rbegin(keysyms); keysym != std::rend(keysyms); ++keysym) {
            xcb_test_fake_input(c_, XCB_KEY_RELEASE, Keycode(*keysym), XCB_CURRENT_TIME, root_, 0,
                                0, 0);
        }
        xcb_flush(c_);
    }
    // A chord as a hand presses it: each key down a little after the one
    // before, the last held for `hold`, then all let go in reverse, a
    // little apart. Blocks for the whole press: call it off the window's
    // thread.
    void PressLikeAHand(std::initializer_list<xcb_keysym_t> keysyms,
                        std::chrono::milliseconds hold) {
        using std::chrono::milliseconds;
        for (xcb_keysym_t keysym : keysyms) {
            Key(XCB_KEY_PRESS, keysym);
            std::this_thread::sleep_for(keysym == *std::rbegin(keysyms) ? hold : milliseconds(40));
        }
        for (auto keysym = std::rbegin(keysyms); keysym != std::rend(keysyms); ++keysym) {
            Key(XCB_KEY_RELEASE, *keysym);
            std::this_thread::sleep_for(milliseconds(30));
        }
    }
    // Types ASCII text key by key, each key held as a finger holds it,
    // Shift down for the characters on a key's second level.
    void TypeLikeAHand(const std::string& text) {
        for (char character : text) {
            auto keysym = xcb_keysym_t(static_cast<unsigned char>(character));
            bool shifted = Keycode(keysym) == 0;
            if (shifted) {
                Key(XCB_KEY_PRESS, kShift);
            }
            Key(XCB_KEY_PRESS, keysym, shifted);
            std::this_thread::sleep_for(std::chrono::milliseconds(70));
            Key(XCB_KEY_RELEASE, keysym, shifted);
            if (shifted) {
                Key(XCB_KEY_RELEASE, kShift);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
        }
    }
    static constexpr xcb_keysym_t kShift = 0xFFE1;
    static constexpr xcb_keysym_t kReturn = 0xFF0D;
    static constexpr xcb_keysym_t kControl = 0xFFE3;
    static constexpr xcb_keysym_t kAlt = 0xFFE9;
    static constexpr xcb_keysym_t kCapsLock = 0xFFE5;

    // The key code whose symbol at the level (0, or 1 with Shift) is `keysym`.
    xcb_keycode_t Keycode(xcb_keysym_t keysym, int level = 0) {
        const xcb_setup_t* setup = xcb_get_setup(c_);
        int count = setup->max_keycode - setup->min_keycode + 1;
        std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> map(
            xcb_get_keyboard_mapping_reply(
                c_, xcb_get_keyboard_mapping(c_, setup->min_keycode, uint8_t(count)), nullptr),
            &std::free);
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
        for (int code = 0; code < count; ++code) {
            if (syms[code * map->keysyms_per_keycode + level] == keysym) {
                return xcb_keycode_t(setup->min_keycode + code);
            }
        }
        return 0;
    }

private:
    void Key(uint8_t type, xcb_keysym_t keysym, bool shifted = false) {
        xcb_test_fake_input(c_, type, Keycode(keysym, shifted ? 1 : 0), XCB_CURRENT_TIME, root_, 0,
                            0, 0);
        xcb_flush(c_);
    }

    xcb_connection_t* c_;
    xcb_window_t root_ = 0;
};

// Another program that holds a key with modifiers for itself, as a global
// hot key, on a connection of its own.
class KeyHolder {
public:
    KeyHolder(xcb_keysym_t keysym, uint16_t modifiers) : c_(xcb_connect(nullptr, nullptr)) {
        xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        xcb_keycode_t code = XInput().Keycode(keysym);
        for (int lock : {0, int(XCB_MOD_MASK_LOCK), int(XCB_MOD_MASK_2)}) {
            xcb_grab_key(c_, 0, root, uint16_t(modifiers | lock), code, XCB_GRAB_MODE_ASYNC,
                         XCB_GRAB_MODE_ASYNC);
        }
        std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
    }
    ~KeyHolder() { xcb_disconnect(c_); }
    KeyHolder(const KeyHolder&) = delete;
    KeyHolder& operator=(const KeyHolder&) = delete;

private:
    xcb_connection_t* c_;
};

// A program that takes the clipboard and then never answers a request for
// its content, as a hung program does.
class SilentClipboardOwner {
public:
    SilentClipboardOwner() : c_(xcb_connect(nullptr, nullptr)) {
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
        xcb_window_t window = xcb_generate_id(c_);
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
        const char name[] = "CLIPBOARD";
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
            xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, sizeof name - 1, name), nullptr),
            &std::free);
        xcb_set_selection_owner(c_, window, atom->atom, XCB_CURRENT_TIME);
        // Owned once the server has taken the request.
        std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
    }
    ~SilentClipboardOwner() { xcb_disconnect(c_); }
    SilentClipboardOwner(const SilentClipboardOwner&) = delete;
    SilentClipboardOwner& operator=(const SilentClipboardOwner&) = delete;

private:
    xcb_connection_t* c_;
};

} // namespace orvane
