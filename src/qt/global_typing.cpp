// Typing into other programs on the Linux desktop: X11 through the X
// server's own extensions; Wayland allows ordinary programs neither global
// keys nor synthetic input; Qt's offscreen platform has no keyboard at all.
#include "window/global_typing.h"

#include "text/ansi_literals.h"
#include "x_hot_key.h"
#include "x_keyboard.h"

#include <QGuiApplication>
#include <xcb/xtest.h>

namespace orvane {

namespace {

bool WithoutKeyboard() {
    return QGuiApplication::platformName() == QStringLiteral("offscreen");
}

// Qt's connection to the X server; none on any other platform.
xcb_connection_t* XConnection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

} // namespace

Result<> GrabHotKey(Window&, const HotKey& key, const std::function<void()>& pressed,
                    const std::function<void(const Result<>&)>& changed) {
    if (WithoutKeyboard()) {
        return {};
    }
    if (XConnection() == nullptr) {
        return Failure{"Wayland 会话不允许普通程序使用全局热键和模拟键盘输入，"
                       "输入热键在这里不能用；请改用 X11 会话登录，或用“复制”按钮。"};
    }
    return GrabXHotKey(XConnection(), key, pressed, changed);
}

void ReleaseHotKey() {
    ReleaseXHotKey();
}

std::unique_ptr<Keyboard> OpenKeyboard(Window&) {
    xcb_connection_t* connection = XConnection();
    const xcb_query_extension_reply_t* xtest =
        connection != nullptr ? xcb_get_extension_data(connection, &xcb_test_id) : nullptr;
    if (xtest == nullptr || !xtest->present) {
        return nullptr;
    }
    return std::make_unique<XKeyboard>(connection);
}

} // namespace orvane
