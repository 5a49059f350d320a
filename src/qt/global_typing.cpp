// Typing into other programs on the Linux desktop: X11 through the X
// server's own extensions; Wayland allows ordinary programs neither global
// keys nor synthetic input; Qt's offscreen platform has no keyboard at all.
#include "window/global_typing.h"

#include "ansi.h"
#include "runtime/ansi_literals.h"
#include "runtime/work_queue.h"
#include "window/component_names.h"
#include "window/window.h"
#include "window/window_thread.h"
#include "window/window_work.h"
#include "x_hot_key.h"
#include "x_typing.h"

#include <QGuiApplication>

namespace orvane {

namespace {

bool OnX11() {
    return QGuiApplication::platformName() == QStringLiteral("xcb");
}

bool WithoutKeyboard() {
    return QGuiApplication::platformName() == QStringLiteral("offscreen");
}

// Typing waits on the X server, off the window's thread.
WorkQueue& TypingQueue() {
    static WorkQueue queue(PostToWindowThread);
    return queue;
}

} // namespace

std::optional<std::string> GrabHotKey(Window&, const HotKey& key,
                                      const std::function<void()>& pressed) {
    if (WithoutKeyboard()) {
        return std::nullopt;
    }
    if (!OnX11()) {
        return std::string("Wayland 会话不允许普通程序使用全局热键和模拟键盘输入，"
                           "输入热键在这里不能用；请改用 X11 会话登录，或用“复制”按钮。");
    }
    return GrabXHotKey(key, pressed);
}

void ReleaseHotKey() {
    ReleaseXHotKey();
}

void TypeIntoFocus(Window& window, std::vector<Stroke> strokes,
                   std::function<void(TypingResult)> done) {
    if (!OnX11()) {
        done(TypingResult::Unavailable);
        return;
    }
    for (Stroke& stroke : strokes) {
        stroke.text = ToUnicode(stroke.text).toStdString();
    }
    unsigned long own = window.WindowHandle(kMainWindow);
    RunForWindow<TypingResult>(
        TypingQueue(), window,
        [strokes = std::move(strokes), own] { return TypeIntoXFocus(strokes, own); },
        std::move(done));
}

} // namespace orvane
