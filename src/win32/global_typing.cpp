// Typing into other programs on Windows: the hot key registered with the
// system for a message-only window of the window's thread, and the text
// sent as Unicode key strokes into the foreground window, off that thread.
#include "window/global_typing.h"

#include "runtime/ansi_literals.h"
#include "runtime/wide_text.h"
#include "runtime/work_queue.h"
#include "window/component_names.h"
#include "window/fatal_error.h"
#include "window/window.h"
#include "window/window_thread.h"
#include "window/window_work.h"

#include <array>
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

INPUT KeyInput(WORD virtualKey, WORD unit, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = unit;
    input.ki.dwFlags = (unit != 0 ? KEYEVENTF_UNICODE : 0) | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

void Send(std::initializer_list<INPUT> inputs) {
    std::vector<INPUT> all(inputs);
    SendInput(UINT(all.size()), all.data(), sizeof(INPUT));
}

// The modifier keys still down (the hot key's own) would turn letters into
// shortcuts: they are let go first.
void ReleaseModifiers() {
    for (WORD key :
         {VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU, VK_LSHIFT, VK_RSHIFT, VK_LWIN, VK_RWIN}) {
        if ((GetAsyncKeyState(key) & 0x8000) != 0) {
            Send({KeyInput(key, 0, true)});
        }
    }
}

// A character beyond the BMP goes as its two UTF-16 units, each a key.
TypingResult TypeIntoForeground(const std::vector<Stroke>& strokes, HWND own) {
    HWND target = GetForegroundWindow();
    if (target == nullptr) {
        return TypingResult::NoFocus;
    }
    if (target == own || GetAncestor(target, GA_ROOTOWNER) == own) {
        return TypingResult::OwnWindow;
    }
    ReleaseModifiers();
    for (const Stroke& stroke : strokes) {
        if (stroke.kind != Stroke::Kind::Text) {
            if (GetForegroundWindow() != target) {
                return TypingResult::FocusChanged;
            }
            WORD key = stroke.kind == Stroke::Kind::Tab ? VK_TAB : VK_RETURN;
            Send({KeyInput(key, 0, false), KeyInput(key, 0, true)});
            continue;
        }
        std::wstring units = WideFromAnsi(stroke.text);
        for (size_t at = 0; at < units.size(); ++at) {
            if (GetForegroundWindow() != target) {
                return TypingResult::FocusChanged;
            }
            // A surrogate pair goes down together, then up: one character.
            bool pair = IS_HIGH_SURROGATE(units[at]) && at + 1 < units.size();
            WORD first = WORD(units[at]);
            if (pair) {
                WORD second = WORD(units[++at]);
                Send({KeyInput(0, first, false), KeyInput(0, second, false),
                      KeyInput(0, first, true), KeyInput(0, second, true)});
            } else {
                Send({KeyInput(0, first, false), KeyInput(0, first, true)});
            }
            Sleep(1);
        }
    }
    return TypingResult::Typed;
}

WorkQueue& TypingQueue() {
    static WorkQueue queue(PostToWindowThread);
    return queue;
}

} // namespace

// The key registered before is let go first (it may be the same key); when
// the new one cannot be had, the old one is registered again.
std::optional<std::string> GrabHotKey(Window&, const HotKey& key,
                                      const std::function<void()>& pressed) {
    std::optional<HotKey> before = Current().key;
    UnregisterHotKey(HotKeyWindow(), kHotKeyId);
    if (!Register(key)) {
        if (before) {
            Register(*before);
        }
        return "输入热键 " + HotKeyText(key) + " 已被其他程序占用，请在“配置”页换一个";
    }
    Current().key = key;
    Current().pressed = pressed;
    return std::nullopt;
}

void ReleaseHotKey() {
    if (Current().window != nullptr) {
        UnregisterHotKey(Current().window, kHotKeyId);
        Current().key.reset();
        Current().pressed = nullptr;
    }
}

void TypeIntoFocus(Window& window, std::vector<Stroke> strokes,
                   std::function<void(TypingResult)> done) {
    auto own = reinterpret_cast<HWND>(window.WindowHandle(kMainWindow));
    RunForWindow<TypingResult>(
        TypingQueue(), window,
        [strokes = std::move(strokes), own] { return TypeIntoForeground(strokes, own); },
        std::move(done));
}

} // namespace orvane
