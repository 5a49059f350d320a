#include "foreground_keyboard.h"

#include "focused_box.h"
#include "text/wide_text.h"
#include "window/window_thread.h"

#include <imm.h>
#include <vector>

namespace orvane {

namespace {

// The longest wait for another program's IME window to answer.
constexpr UINT kAnswerLimit = 300;

// WM_IME_CONTROL's requests for the open status (the SDK's ime.h; mingw-w64
// has no such header).
constexpr WPARAM kGetOpenStatus = 0x0005;
constexpr WPARAM kSetOpenStatus = 0x0006;

INPUT KeyInput(WORD virtualKey, WORD unit, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = unit;
    input.ki.dwFlags = (unit != 0 ? KEYEVENTF_UNICODE : 0) | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

// The open status of an IME window, or nothing when it did not answer.
std::optional<bool> OpenStatus(HWND ime) {
    DWORD_PTR open = 0;
    if (SendMessageTimeoutW(ime, WM_IME_CONTROL, kGetOpenStatus, 0, SMTO_ABORTIFHUNG, kAnswerLimit,
                            &open) == 0) {
        return std::nullopt;
    }
    return open != 0;
}

bool SetOpenStatus(HWND ime, bool open) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(ime, WM_IME_CONTROL, kSetOpenStatus, open ? 1 : 0, SMTO_ABORTIFHUNG,
                               kAnswerLimit, &result) != 0 &&
           OpenStatus(ime) == open;
}

// Whether the virtual key is one of the chord's.
bool InChord(const HotKey& hotKey, int key) {
    switch (key) {
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
        return hotKey.ctrl;
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
        return hotKey.alt;
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT:
        return hotKey.shift;
    case VK_LWIN:
    case VK_RWIN:
        return hotKey.win;
    default:
        return key == (hotKey.functionKey != 0 ? VK_F1 + hotKey.functionKey - 1 : hotKey.key);
    }
}

// A character beyond the BMP goes as its two UTF-16 units, down together,
// then up: one character.
void SendKey(const Key& key, bool up) {
    std::vector<INPUT> inputs;
    if (key.kind == Key::Kind::Character) {
        for (wchar_t unit : WideFromAnsi(key.character)) {
            inputs.push_back(KeyInput(0, WORD(unit), up));
        }
    } else {
        inputs.push_back(KeyInput(key.kind == Key::Kind::Tab ? VK_TAB : VK_RETURN, 0, up));
    }
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

} // namespace

ForegroundKeyboard::ForegroundKeyboard() : reads_(PostToWindowThread) {
    reads_.Run([] { CoInitializeEx(nullptr, COINIT_MULTITHREADED); });
}

ForegroundKeyboard::~ForegroundKeyboard() {
    Finish();
}

std::uintptr_t ForegroundKeyboard::FocusedWindow() {
    return std::uintptr_t(GetForegroundWindow());
}

bool ForegroundKeyboard::IsOwnWindow(std::uintptr_t window) {
    DWORD process = 0;
    GetWindowThreadProcessId(HWND(window), &process);
    return process == GetCurrentProcessId();
}

// The mouse buttons are no keys; a Unicode stroke's own key is no key of
// the user's.
KeysDown ForegroundKeyboard::HeldKeys(const HotKey& hotKey) {
    KeysDown held = KeysDown::None;
    for (int key = VK_BACK; key <= 0xFE; ++key) {
        if (key != VK_PACKET && (GetAsyncKeyState(key) & 0x8000) != 0) {
            if (!InChord(hotKey, key)) {
                return KeysDown::Others;
            }
            held = KeysDown::HotKeyOnly;
        }
    }
    return held;
}

// The system's timer runs at a coarse step unless asked: the pace of the
// keys needs it at a millisecond.
std::optional<KeysReady> ForegroundKeyboard::Prepare(const std::vector<Key>& keys) {
    if (!fineTimer_) {
        fineTimer_ = timeBeginPeriod(1) == TIMERR_NOERROR;
    }
    return KeysReady{keys.size(), 0};
}

void ForegroundKeyboard::Finish() {
    if (fineTimer_) {
        timeEndPeriod(1);
        fineTimer_ = false;
    }
}

void ForegroundKeyboard::Press(const Key& key) {
    SendKey(key, false);
}

void ForegroundKeyboard::Release(const Key& key) {
    SendKey(key, true);
}

// Unicode strokes reach the program without passing the IME's conversion:
// it is no module in their way.
void ForegroundKeyboard::TurnInputMethodOff(std::function<void(InputMethodFound)> done) {
    HWND foreground = GetForegroundWindow();
    GUITHREADINFO thread{sizeof thread};
    GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &thread);
    // No default IME window: the thread has no input method to turn off.
    HWND ime = ImmGetDefaultIMEWnd(thread.hwndFocus != nullptr ? thread.hwndFocus : foreground);
    std::optional<bool> open = ime != nullptr ? OpenStatus(ime) : false;
    if (open == false) {
        done({InputMethodSwitch::Direct});
    } else if (!open || !SetOpenStatus(ime, false)) {
        done({InputMethodSwitch::Failed});
    } else {
        inputMethod_ = ime;
        done({InputMethodSwitch::SwitchedOff});
    }
}

void ForegroundKeyboard::TurnInputMethodBackOn(std::function<void(bool)> done) {
    bool opened = inputMethod_ != nullptr && SetOpenStatus(inputMethod_, true);
    inputMethod_ = nullptr;
    done(opened);
}

void ForegroundKeyboard::ReadFocusedField(std::function<void(FieldText)> done) {
    reads_.Run<FieldText>(ReadFocusedBox, std::move(done));
}

void ForegroundKeyboard::ReadField(const std::string& field, std::function<void(FieldText)> done) {
    reads_.Run<FieldText>([field] { return ReadBoxAgain(field); }, std::move(done));
}

} // namespace orvane
