#include "x_hot_key.h"

#include "runtime/ansi_literals.h"
#include "window/window_thread.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <array>
#include <atomic>
#include <cctype>
#include <poll.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <variant>

namespace orvane {

namespace {

// What is grabbed, and the thread that waits for it.
struct Grab {
    Display* display = nullptr;
    KeyCode code = 0;
    unsigned modifiers = 0;
    std::function<void()> pressed;
    std::array<int, 2> stop{-1, -1}; // a pipe: written to end the thread
    std::thread thread;
};

Grab* current = nullptr;
std::optional<HotKey> currentKey;
std::atomic<bool> refused = false;

int NoteRefusal(Display*, XErrorEvent* error) {
    refused = refused || error->error_code == BadAccess;
    return 0;
}

std::string KeyName(const HotKey& key) {
    if (key.functionKey != 0) {
        return "F" + std::to_string(key.functionKey);
    }
    return {char(std::tolower(static_cast<unsigned char>(key.key)))};
}

unsigned ModifierMask(const HotKey& key) {
    return (key.ctrl ? ControlMask : 0) | (key.alt ? Mod1Mask : 0) | (key.shift ? ShiftMask : 0) |
           (key.win ? Mod4Mask : 0);
}

// Caps Lock and Num Lock must not stop the key: it is grabbed with each.
constexpr std::array<unsigned, 4> kLocks = {0, LockMask, Mod2Mask, LockMask | Mod2Mask};

void Ungrab(Grab& grab) {
    for (unsigned lock : kLocks) {
        XUngrabKey(grab.display, grab.code, grab.modifiers | lock, DefaultRootWindow(grab.display));
    }
    XSync(grab.display, False);
}

// Until the pipe is written to: each press of the key (not its repeats,
// which come without a release between) goes to the window's thread.
void Listen(Grab& grab) {
    bool down = false;
    for (;;) {
        while (XPending(grab.display) > 0) {
            XEvent event;
            XNextEvent(grab.display, &event);
            if (event.type == KeyPress && event.xkey.keycode == grab.code && !down) {
                PostToWindowThread(grab.pressed);
            }
            if (event.xkey.keycode == grab.code) {
                down = event.type == KeyPress;
            }
        }
        std::array<pollfd, 2> wanted = {pollfd{ConnectionNumber(grab.display), POLLIN, 0},
                                        pollfd{grab.stop[0], POLLIN, 0}};
        if (poll(wanted.data(), wanted.size(), -1) < 0 || wanted[1].revents != 0) {
            return;
        }
    }
}

void Close(Grab* grab) {
    if (grab->thread.joinable()) {
        (void)!write(grab->stop[1], "x", 1);
        grab->thread.join();
    }
    for (int end : grab->stop) {
        if (end >= 0) {
            close(end);
        }
    }
    if (grab->display != nullptr) {
        XCloseDisplay(grab->display);
    }
    delete grab;
}

// The key grabbed on a new connection, or why not.
std::variant<Grab*, std::string> TryGrab(const HotKey& key, const std::function<void()>& pressed) {
    auto* grab = new Grab;
    grab->display = XOpenDisplay(nullptr);
    if (grab->display == nullptr) {
        Close(grab);
        return std::string("无法连接 X 服务器，输入热键不可用");
    }
    grab->code = XKeysymToKeycode(grab->display, XStringToKeysym(KeyName(key).c_str()));
    grab->modifiers = ModifierMask(key);
    grab->pressed = pressed;
    Bool detectable = False;
    XkbSetDetectableAutoRepeat(grab->display, True, &detectable);
    refused = false;
    XErrorHandler before = XSetErrorHandler(NoteRefusal);
    for (unsigned lock : kLocks) {
        XGrabKey(grab->display, grab->code, grab->modifiers | lock,
                 DefaultRootWindow(grab->display), False, GrabModeAsync, GrabModeAsync);
    }
    XSync(grab->display, False);
    XSetErrorHandler(before);
    if (grab->code == 0 || refused || pipe(grab->stop.data()) != 0) {
        Ungrab(*grab);
        Close(grab);
        return "输入热键 " + HotKeyText(key) + " 已被其他程序占用，请在“配置”页换一个";
    }
    grab->thread = std::thread([grab] { Listen(*grab); });
    return grab;
}

} // namespace

// The key grabbed before is let go first (it may be the same key); when the
// new one cannot be had, the old one is taken again.
std::optional<std::string> GrabXHotKey(const HotKey& key, const std::function<void()>& pressed) {
    std::optional<HotKey> before = currentKey;
    std::function<void()> beforePressed = current != nullptr ? current->pressed : nullptr;
    ReleaseXHotKey();
    auto grabbed = TryGrab(key, pressed);
    if (Grab** grab = std::get_if<Grab*>(&grabbed)) {
        current = *grab;
        currentKey = key;
        return std::nullopt;
    }
    if (before) {
        auto again = TryGrab(*before, beforePressed);
        if (Grab** grab = std::get_if<Grab*>(&again)) {
            current = *grab;
            currentKey = before;
        }
    }
    return std::get<std::string>(grabbed);
}

void ReleaseXHotKey() {
    if (current == nullptr) {
        return;
    }
    Grab* grab = std::exchange(current, nullptr);
    currentKey.reset();
    if (grab->thread.joinable()) {
        (void)!write(grab->stop[1], "x", 1);
        grab->thread.join();
    }
    Ungrab(*grab);
    Close(grab);
}

} // namespace orvane
