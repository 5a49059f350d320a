// The handler tests' desk on the Windows window, under Wine: events come as
// the controls deliver them, boxes are closed with 确定 as they come up.
#include "desk.h"

#include "text/wide_text.h"
#include "win32/win32_window.h"
#include "win32_input.h"
#include "window/component_names.h"

#include <chrono>
#include <commctrl.h>
#include <iterator>
#include <windows.h>

namespace orvane {

namespace {

std::vector<Message>& Shown() {
    static std::vector<Message> shown;
    return shown;
}

bool& AnswerOk() {
    static bool ok = true;
    return ok;
}

std::wstring TextOf(HWND control) {
    wchar_t text[4096] = {};
    GetWindowTextW(control, text, int(std::size(text)));
    return text;
}

// A message box comes up on this thread: what it says is kept, and it is
// closed once it runs.
LRESULT CALLBACK CloseBoxes(int code, WPARAM w, LPARAM l) {
    auto* box = HWND(w);
    wchar_t kind[16] = {};
    if (code == HCBT_ACTIVATE && GetClassNameW(box, kind, int(std::size(kind))) > 0 &&
        std::wstring(kind) == L"#32770") {
        wchar_t text[4096] = {};
        GetDlgItemTextW(box, 0xFFFF, text, int(std::size(text)));
        Shown().push_back({AnsiFromWide(text), AnsiFromWide(TextOf(box))});
        PostMessageW(box, WM_COMMAND, AnswerOk() ? IDOK : IDCANCEL, 0);
    }
    return CallNextHookEx(nullptr, code, w, l);
}

// The window's tooltip control, the one its tools are in.
HWND TipsOf(Win32Window& window) {
    struct Search {
        HWND owner;
        HWND tips = nullptr;
    } search{window.Handle()};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND candidate, LPARAM found) -> BOOL {
            auto* search = reinterpret_cast<Search*>(found);
            wchar_t kind[64] = {};
            GetClassNameW(candidate, kind, int(std::size(kind)));
            if (std::wstring(kind) == TOOLTIPS_CLASSW &&
                GetWindow(candidate, GW_OWNER) == search->owner) {
                search->tips = candidate;
                return FALSE;
            }
            return TRUE;
        },
        LPARAM(&search));
    return search.tips;
}

std::string ToolText(Win32Window& window, HWND tool, UINT_PTR id) {
    wchar_t text[4096] = {};
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = tool;
    info.uId = id;
    info.lpszText = text;
    SendMessageW(TipsOf(window), TTM_GETTEXTW, std::size(text), LPARAM(&info));
    return AnsiFromWide(text);
}

} // namespace

std::unique_ptr<Window> NewDeskWindow() {
    static HHOOK hook = SetWindowsHookExW(WH_CBT, CloseBoxes, nullptr, GetCurrentThreadId());
    (void)hook;
    return std::make_unique<Win32Window>();
}

// As a click reaches it: a disabled button takes none.
void Click(Window& window, const std::string& name) {
    HWND control = static_cast<Win32Window&>(window).ComponentHandle(name);
    if (IsWindowEnabled(control)) {
        SendMessageW(control, BM_CLICK, 0, 0);
    }
}

void Pass(Window&, int milliseconds) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(left.count()), QS_ALLINPUT);
    }
}

bool PassUntil(Window&, const std::function<bool()>& done, int milliseconds) {
    return PumpUntil(done, milliseconds);
}

std::string TipOf(Window& window, const std::string& name) {
    auto& win32 = static_cast<Win32Window&>(window);
    return ToolText(win32, win32.Handle(), UINT_PTR(win32.ComponentHandle(name)));
}

std::string PanelTextOf(Window& window, int panel) {
    HWND bar = static_cast<Win32Window&>(window).ComponentHandle(kStatusBar);
    wchar_t text[4096] = {};
    SendMessageW(bar, SB_GETTEXTW, WPARAM(panel), LPARAM(text));
    return AnsiFromWide(text);
}

std::string PanelTipOf(Window& window, int panel) {
    auto& win32 = static_cast<Win32Window&>(window);
    return ToolText(win32, win32.ComponentHandle(kStatusBar), UINT_PTR(panel));
}

std::string DeskClipboardText() {
    return ClipboardText();
}

bool DeskHoldsAllOfGb18030() {
    return IsValidCodePage(54936) != FALSE;
}

std::vector<Message> TakeMessages() {
    return std::exchange(Shown(), {});
}

void AnswerBoxes(bool ok) {
    AnswerOk() = ok;
}

} // namespace orvane
