#pragma once

#include "text/wide_text.h"

#include <chrono>
#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <vector>
#include <windows.h>

namespace orvane {

// Real input as a user's hand gives it, through SendInput, and the
// window's messages run while the test waits.

// Runs the thread's messages until the condition holds; false when the
// time ran out first. `first` sees each message before it is dispatched, as
// a message loop's own keys do, and keeps those it takes.
inline bool PumpUntil(const std::function<bool()>& done, int milliseconds = 3000,
                      const std::function<bool(const MSG&)>& first = {}) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (first && first(message)) {
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        // Wakes for the next message at once, else to look again.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

inline INPUT Key(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// Presses the keys in order and lets them go in reverse, as a chord.
inline void PressChord(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        inputs.push_back(Key(key, false));
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        inputs.push_back(Key(*key, true));
    }
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A chord as a hand presses it: each key down a little after the one before,
// the last held for `hold` milliseconds and repeating as a held key does,
// then all let go in reverse. Blocks for the whole press: call it off the
// window's thread.
inline void PressAndHold(std::initializer_list<WORD> keys, int hold) {
    for (WORD key : keys) {
        INPUT down = Key(key, false);
        SendInput(1, &down, sizeof(INPUT));
        Sleep(40);
    }
    INPUT repeat = Key(*std::rbegin(keys), false);
    for (int held = 0; held < hold; held += 33) {
        Sleep(33);
        if (held >= 500) { // the keyboard's repeat starts after half a second
            SendInput(1, &repeat, sizeof(INPUT));
        }
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        INPUT up = Key(*key, true);
        SendInput(1, &up, sizeof(INPUT));
        Sleep(30);
    }
}

// Types digits and ASCII capitals, one key each.
inline void TypeKeys(const std::string& keys) {
    for (char key : keys) {
        PressChord({WORD(key)});
    }
}

// Types one character as an input method gives it, whatever the keyboard.
inline void TypeCharacter(wchar_t character) {
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = character;
        input.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

// A left click at a point of the screen.
inline void ClickAt(int x, int y) {
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, inputs, sizeof(INPUT));
}

// A left click at the middle of the control, at its place on the screen.
inline void ClickOn(HWND control) {
    RECT box{};
    GetWindowRect(control, &box);
    ClickAt((box.left + box.right) / 2, (box.top + box.bottom) / 2);
}

// What a click at the middle of the control would reach.
inline HWND HitAt(HWND control) {
    RECT box{};
    GetWindowRect(control, &box);
    return WindowFromPoint({(box.left + box.right) / 2, (box.top + box.bottom) / 2});
}

// The clipboard's text as another program reads it.
inline std::string ClipboardText() {
    std::string text;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            text = AnsiFromWide(static_cast<const wchar_t*>(GlobalLock(data)));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return text;
}

// Puts the text on the clipboard as another program would.
inline void PutOnClipboard(const std::wstring& text) {
    if (!OpenClipboard(nullptr)) {
        return;
    }
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

} // namespace orvane
