// Typing into other programs on Windows: the hot key registered with the
// system for a message-only window of the window's thread, and the keyboard
// that sends the keys into the foreground window.
#include "window/global_typing.h"

#include "foreground_keyboard.h"
#include "text/ansi_literals.h"
#include "window/fatal_error.h"

#include <windows.h>

namespace orvane {

namespace {

constexpr int kHotKeyId = 1;

struct Registration {
    HWND window = nullptr;
    std::function<void()> pressed;
    std::optional<HotKey> key;
};

Registration& Current() {
    static Registration registration;
    return registration;
}

LRESULT CALLBACK HotKeyProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_HOTKEY && w == kHotKeyId && Current().pressed) {
        RunGuarded([] { Current().pressed(); });
        return 0;
    }
    return DefWindowProcW(hwnd, message, w, l);
}

HWND HotKeyWindow() {
    if (Current().window == nullptr) {
        WNDCLASSW kind{};
        kind.lpfnWndProc = HotKeyProc;
        kind.hInstance = GetModuleHandleW(nullptr);
        kind.lpszClassName = L"OrvaneHotKey";
        RegisterClassW(&kind);
        Current().window = CreateWindowExW(0, kind.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                           nullptr, kind.hInstance, nullptr);
    }
    return Current().window;
}

UINT Modifiers(const HotKey& key) {
    return (key.ctrl ? MOD_CONTROL : 0) | (key.alt ? MOD_ALT : 0) | (key.shift ? MOD_SHIFT : 0) |
           (key.win ? MOD_WIN : 0) | MOD_NOREPEAT;
}

UINT VirtualKey(const HotKey& key) {
    return key.functionKey != 0 ? UINT(VK_F1 + key.functionKey - 1) : UINT(key.key);
}

bool Register(const HotKey& key) {
    return RegisterHotKey(HotKeyWindow(), kHotKeyId, Modifiers(key), VirtualKey(key)) != FALSE;
}

} // namespace

// The key registered before is let go first (it may be the same key); when
// the new one cannot be had, the old one is registered again.
// A hot key registered by its virtual key stays on its key in every layout:
// `changed` is never called.
Result<> GrabHotKey(Window&, const HotKey& key, const std::function<void()>& pressed,
                    const std::function<void(const Result<>&)>&) {
    std::optional<HotKey> before = Current().key;
    UnregisterHotKey(HotKeyWindow(), kHotKeyId);
    if (!Register(key)) {
        if (before) {
            Register(*before);
        }
        return Failure{"输入热键 " + HotKeyText(key) + " 已被其他程序占用，请在“配置”页换一个"};
    }
    Current().key = key;
    Current().pressed = pressed;
    return {};
}

void ReleaseHotKey() {
    if (Current().window != nullptr) {
        UnregisterHotKey(Current().window, kHotKeyId);
        Current().key.reset();
        Current().pressed = nullptr;
    }
}

std::unique_ptr<Keyboard> OpenKeyboard(Window&) {
    return std::make_unique<ForegroundKeyboard>();
}

} // namespace orvane
