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
    bool Grab(const HotKey& key, const std::function<void()>& pressed) {
        std::optional<HotKey> before = key_;
        Ungrab();
        if (!TryGrab(key)) {
            if (before) {
                TryGrab(*before);
            }
            return false;
        }
        pressed_ = pressed;
        return true;
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
    bool TryGrab(const HotKey& key) {
        xcb_keycode_t code = XKeyMap(c_).CodeTyping(KeysymOf(key), 0, {});
        if (code == 0) {
            return false;
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
        key_ = key;
        code_ = code;
        if (!taken) {
            Ungrab();
        }
        return taken;
    }

    void Ungrab() {
        if (code_ != 0 && key_) {
            for (uint16_t lock : kLocks) {
                xcb_ungrab_key(c_, code_, root_, uint16_t(ModifierMask(*key_) | lock));
            }
            xcb_flush(c_);
        }
        code_ = 0;
        key_.reset();
        down_ = false;
    }

    // Another layout may put the key on another key code.
    void FollowKeyMap() {
        if (key_ && XKeyMap(c_).CodeTyping(KeysymOf(*key_), 0, {}) != code_) {
            HotKey key = *key_;
            Ungrab();
            TryGrab(key);
        }
    }

    xcb_connection_t* c_;
    xcb_window_t root_;
    uint8_t xkbEvent_ = 0;
    std::optional<HotKey> key_;
    xcb_keycode_t code_ = 0;
    bool down_ = false;
    std::function<void()> pressed_;
    QObject context_; // the follow-ups of map changes go with the grab
};

std::unique_ptr<XHotKey>& Current() {
    static std::unique_ptr<XHotKey> current;
    return current;
}

} // namespace

Result<> GrabXHotKey(xcb_connection_t* connection, const HotKey& key,
                     const std::function<void()>& pressed) {
    if (!Current()) {
        Current() = std::make_unique<XHotKey>(connection);
    }
    if (!Current()->Grab(key, pressed)) {
        return Failure{"输入热键 " + HotKeyText(key) + " 已被其他程序占用，请在“配置”页换一个"};
    }
    return {};
}

void ReleaseXHotKey() {
    Current().reset();
}

} // namespace orvane
