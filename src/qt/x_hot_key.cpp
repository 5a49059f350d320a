#include "x_hot_key.h"

#include "text/ansi_literals.h"
#include "window/window_thread.h"
#include "x_key_map.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QTimer>
#include <array>
#include <cstdlib>
#include <memory>
#include <string>
// xkb.h names a field "explicit", which C++ keeps for itself.
#define explicit xkb_explicit
#include <xcb/xkb.h>
#undef explicit

namespace orvane {

namespace {

xcb_keysym_t KeysymOf(const HotKey& key) {
    constexpr xcb_keysym_t kF1 = 0xFFBE;
    if (key.functionKey != 0) {
        return kF1 + xcb_keysym_t(key.functionKey - 1);
    }
    return xcb_keysym_t(key.key >= 'A' && key.key <= 'Z' ? key.key - 'A' + 'a' : key.key);
}

uint16_t ModifierMask(const HotKey& key) {
    return uint16_t((key.ctrl ? XCB_MOD_MASK_CONTROL : 0) | (key.alt ? XCB_MOD_MASK_1 : 0) |
                    (key.shift ? XCB_MOD_MASK_SHIFT : 0) | (key.win ? XCB_MOD_MASK_4 : 0));
}

// The key code of the key that carries the hot key's key on a US keyboard
// (evdev's codes, as X servers give them): a layout that lacks it (Russian
// has no Latin V, French types 1 with Shift) still has the key.
xcb_keycode_t UsKeyCode(const HotKey& key) {
    constexpr int kEvdev = 8; // X key codes are the kernel's plus 8
    static const std::string letters = "QWERTYUIOP    ASDFGHJKL     ZXCVBNM";
    if (key.functionKey != 0) {
        return xcb_keycode_t(
            kEvdev + (key.functionKey <= 10 ? 58 + key.functionKey : 87 + key.functionKey - 11));
    }
    if (key.key >= '1' && key.key <= '9') {
        return xcb_keycode_t(kEvdev + 2 + (key.key - '1'));
    }
    if (key.key == '0') {
        return xcb_keycode_t(kEvdev + 11);
    }
    size_t at = letters.find(key.key);
    return at == std::string::npos ? 0 : xcb_keycode_t(kEvdev + 16 + at);
}

} // namespace

xcb_keycode_t HotKeyCode(xcb_connection_t* connection, const HotKey& key) {
    XKeyMap map(connection);
    xcb_keycode_t code = map.CodeTyping(KeysymOf(key), 0, {});
    xcb_keycode_t us = UsKeyCode(key);
    return code != 0 ? code : map.Holds(us) ? us : 0;
}

namespace {

// Caps Lock and Num Lock must not stop the key: it is grabbed with each.
constexpr std::array<uint16_t, 4> kLocks = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                            XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

// The grab and the filter that reads its presses from Qt's events.
class XHotKey : public QAbstractNativeEventFilter {
public:
    explicit XHotKey(xcb_connection_t* connection)
        : c_(connection), root_(xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root) {
        const xcb_query_extension_reply_t* xkb = xcb_get_extension_data(c_, &xcb_xkb_id);
        xkbEvent_ = xkb != nullptr && xkb->present ? xkb->first_event : 0;
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~XHotKey() override {
        Ungrab();
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    XHotKey(const XHotKey&) = delete;
    XHotKey& operator=(const XHotKey&) = delete;

    // The key grabbed before is let go first (it may be the same key); when
    // the new one cannot be had, the old one is taken again.
    Result<> Grab(const HotKey& key, const std::function<void()>& pressed,
                  const std::function<void(const Result<>&)>& changed) {
        std::optional<HotKey> before = key_;
        Ungrab();
        Result<> taken = TryGrab(key);
        if (!taken) {
            if (before) {
                (void)TryGrab(*before);
            }
            return taken;
        }
        key_ = key;
        pressed_ = pressed;
        changed_ = changed;
        failing_.clear();
        return {};
    }

    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
        auto* event = static_cast<xcb_generic_event_t*>(message);
        uint8_t kind = event->response_type & 0x7F;
        if (kind == XCB_KEY_PRESS || kind == XCB_KEY_RELEASE) {
            auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
            if (code_ == 0 || key->event != root_ || key->detail != code_) {
                return false;
            }
            // A key held down repeats its press without a release between.
            if (kind == XCB_KEY_PRESS && !down_ && pressed_) {
                PostToWindowThread(pressed_);
            }
            down_ = kind == XCB_KEY_PRESS;
            return true;
        }
        if (kind == XCB_MAPPING_NOTIFY ||
            (xkbEvent_ != 0 && kind == xkbEvent_ &&
             (event->pad0 == XCB_XKB_NEW_KEYBOARD_NOTIFY || event->pad0 == XCB_XKB_MAP_NOTIFY))) {
            QTimer::singleShot(0, &context_, [this] { FollowKeyMap(); });
        }
        return false;
    }

private:
    Result<> TryGrab(const HotKey& key) {
        xcb_keycode_t code = HotKeyCode(c_, key);
        if (code == 0) {
            return Failure{"这个键盘布局打不出 " + HotKeyText(key) + "，请在“配置”页换一个"};
        }
        bool taken = true;
        for (uint16_t lock : kLocks) {
            xcb_void_cookie_t cookie =
                xcb_grab_key_checked(c_, 0, root_, uint16_t(ModifierMask(key) | lock), code,
                                     XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
            if (xcb_generic_error_t* error = xcb_request_check(c_, cookie)) {
                taken = false;
                std::free(error);
            }
        }
        grabbed_ = key;
        code_ = code;
        if (!taken) {
            Ungrab();
            return Failure{"输入热键 " + HotKeyText(key) + " 已被其他程序占用，请在“配置”页换一个"};
        }
        return {};
    }

    void Ungrab() {
        if (code_ != 0 && grabbed_) {
            for (uint16_t lock : kLocks) {
                xcb_ungrab_key(c_, code_, root_, uint16_t(ModifierMask(*grabbed_) | lock));
            }
            xcb_flush(c_);
        }
        code_ = 0;
        grabbed_.reset();
        down_ = false;
    }

    // Another layout may put the key on another key code, or lack it: the
    // key stays the one taken, grabbed where the layout now has it, and
    // whether it is in force is told when that changes.
    void FollowKeyMap() {
        if (!key_ || (code_ != 0 && HotKeyCode(c_, *key_) == code_)) {
            return;
        }
        Ungrab();
        Result<> taken = TryGrab(*key_);
        std::string failing = taken ? std::string() : taken.Reason();
        if (failing != failing_) {
            failing_ = failing;
            if (changed_) {
                changed_(taken);
            }
        }
    }

    xcb_connection_t* c_;
    xcb_window_t root_;
    uint8_t xkbEvent_ = 0;
    std::optional<HotKey> key_;     // the key taken
    std::optional<HotKey> grabbed_; // the key grabbed now, at code_
    xcb_keycode_t code_ = 0;
    std::string failing_; // why the key taken is not in force; empty while it is
    bool down_ = false;
    std::function<void()> pressed_;
    std::function<void(const Result<>&)> changed_;
    QObject context_; // the follow-ups of map changes go with the grab
};

std::unique_ptr<XHotKey>& Current() {
    static std::unique_ptr<XHotKey> current;
    return current;
}

} // namespace

Result<> GrabXHotKey(xcb_connection_t* connection, const HotKey& key,
                     const std::function<void()>& pressed,
                     const std::function<void(const Result<>&)>& changed) {
    if (!Current()) {
        Current() = std::make_unique<XHotKey>(connection);
    }
    return Current()->Grab(key, pressed, changed);
}

void ReleaseXHotKey() {
    Current().reset();
}

} // namespace orvane
