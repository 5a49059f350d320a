// The window's keys, before any control sees them.
#include "win32_window.h"

#include "window/component_names.h"

#include <algorithm>
#include <commctrl.h>

namespace orvane {

// Shown when it and every container up to the window are: on the page the
// tab control shows, or on the window itself. Whether the window itself is
// shown yet does not matter.
bool Win32Window::ShownInWindow(HWND control) const {
    for (HWND at = control; at != nullptr && at != window_; at = GetParent(at)) {
        if ((GetWindowLongPtrW(at, GWL_STYLE) & WS_VISIBLE) == 0) {
            return false;
        }
    }
    return true;
}

// The shown page's controls in reading order (top to bottom, then left to
// right), then the window's own buttons from left to right. A window
// without pages is read as one page.
std::vector<HWND> Win32Window::FocusOrder() const {
    HWND tabs = controls_.contains(kPageControl) ? ComponentHandle(kPageControl) : nullptr;
    std::vector<std::pair<RECT, HWND>> onPage;
    std::vector<std::pair<RECT, HWND>> onWindow;
    for (const auto& [name, control] : controls_) {
        HWND handle = control.handle;
        bool stop = handle != nullptr && (GetWindowLongPtrW(handle, GWL_STYLE) & WS_TABSTOP) != 0;
        if (!stop || !ShownInWindow(handle) || !IsWindowEnabled(handle)) {
            continue;
        }
        RECT box{};
        GetWindowRect(handle, &box);
        (tabs == nullptr || IsChild(tabs, handle) ? onPage : onWindow).emplace_back(box, handle);
    }
    auto reading = [](const auto& a, const auto& b) {
        return std::pair(a.first.top, a.first.left) < std::pair(b.first.top, b.first.left);
    };
    std::sort(onPage.begin(), onPage.end(), reading);
    std::sort(onWindow.begin(), onWindow.end(),
              [](const auto& a, const auto& b) { return a.first.left < b.first.left; });
    std::vector<HWND> order;
    for (const auto& list : {onPage, onWindow}) {
        for (const auto& [box, handle] : list) {
            order.push_back(handle);
        }
    }
    return order;
}

void Win32Window::MoveFocus(bool forward) {
    std::vector<HWND> order = FocusOrder();
    if (order.empty()) {
        return;
    }
    auto at = std::find(order.begin(), order.end(), GetFocus());
    size_t index =
        at == order.end() ? (forward ? order.size() - 1 : 0) : size_t(at - order.begin());
    size_t next = (index + (forward ? 1 : order.size() - 1)) % order.size();
    Focus(order[next]);
}

// Focused where it shows: a page that scrolls brings the control into view.
void Win32Window::Focus(HWND control) {
    SetFocus(control);
    builder_->ScrollIntoView(control);
}

void Win32Window::TurnPage(bool forward) {
    int count = int(builder_->Pages().size());
    if (count == 0) {
        return; // a window without pages
    }
    SelectPage((CurrentPage() + (forward ? 1 : count - 1)) % count);
    std::vector<HWND> order = FocusOrder();
    if (!order.empty()) {
        Focus(order.front());
    }
}

// Esc closes the window; Tab and Shift+Tab move through FocusOrder; Ctrl+Tab,
// Ctrl+Shift+Tab, Ctrl+PgDn and Ctrl+PgUp change page; Enter presses the
// focused button, as Space does, and confirms the text of an edit box.
bool Win32Window::HandleKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || GetAncestor(message.hwnd, GA_ROOT) != window_) {
        return false;
    }
    bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    switch (message.wParam) {
    case VK_ESCAPE:
        DestroyWindow(window_);
        return true;
    case VK_TAB:
        control ? TurnPage(!shift) : MoveFocus(!shift);
        return true;
    case VK_NEXT:
    case VK_PRIOR:
        if (control) {
            TurnPage(message.wParam == VK_NEXT);
            return true;
        }
        return false;
    case VK_RETURN: {
        wchar_t type[16] = {};
        GetClassNameW(message.hwnd, type, 16);
        if (lstrcmpiW(type, L"EDIT") == 0) {
            RunById(GetDlgCtrlID(message.hwnd), Event::Confirmed);
            return true;
        }
        if (lstrcmpiW(type, L"BUTTON") != 0) {
            return false;
        }
        SendMessageW(message.hwnd, BM_CLICK, 0, 0);
        return true;
    }
    default:
        return false;
    }
}

} // namespace orvane
