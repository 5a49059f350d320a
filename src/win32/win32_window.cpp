#include "win32_window.h"

#include "accessible.h"
#include "context_menu.h"
#include "field_edit.h"
#include "owned_message_box.h"
#include "task_window.h"
#include "text/wide_text.h"
#include "text_of.h"
#include "window/component_names.h"
#include "window/readable_tip.h"
#include "window_class.h"

#include <array>
#include <commctrl.h>
#include <stdexcept>
#include <utility>

namespace orvane {

namespace {

const wchar_t kWindowClass[] = L"OrvaneWindow";

// The work area of the window's monitor: the screen less the taskbar. The
// primary monitor's is also what the system says of the work area (Wine
// says only that).
RECT WorkAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT work = monitor.rcWork;
    RECT said{};
    if ((monitor.dwFlags & MONITORINFOF_PRIMARY) != 0 &&
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &said, 0)) {
        IntersectRect(&work, &monitor.rcWork, &said);
    }
    return work;
}

} // namespace

Win32Window::Win32Window(WindowDescription description) : description_(description) {
    // Screen readers reach the controls' accessible objects through COM.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    TaskWindow(); // posted tasks run on this thread
    RegisterWindowClass(kWindowClass, WindowProc);
    const WindowFrame& frame = description_.frame;
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT outer{0, 0, frame.clientWidth, frame.clientHeight};
    AdjustWindowRect(&outer, style, FALSE);
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, WideFromAnsi(frame.title).c_str(),
                              style, CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                              outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleW(nullptr),
                              this);
    if (window_ == nullptr) {
        throw std::runtime_error("the window cannot be made");
    }
    fit_ = FitOnScreen();
    SizeClient();
    tips_ = std::make_unique<Tooltips>(window_);
    shots_ = std::make_unique<SingleShots>(window_);
    builder_ = std::make_unique<WindowBuilder>(window_);
    controls_ = builder_->Build(description_.layout, fit_);
    for (const auto& [name, control] : controls_) {
        names_[control.id] = name;
        if (control.row->kind == Kind::Timer) {
            SetInterval(name, control.row->interval);
        }
    }
    if (controls_.contains(kPageControl)) {
        SelectPage(0);
    }
}

Win32Window::~Win32Window() {
    if (IsWindow(window_)) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    CoUninitialize();
}

const Control* Win32Window::Find(const std::string& name) const {
    auto found = controls_.find(name);
    ExpectComponent(found != controls_.end(), name);
    return found == controls_.end() ? nullptr : &found->second;
}

HWND Win32Window::ComponentHandle(const std::string& name) const {
    const Control* control = Find(name);
    return control != nullptr ? control->handle : nullptr;
}

std::string Win32Window::GetContent(const std::string& editBox) const {
    HWND control = ComponentHandle(editBox);
    return control != nullptr ? TextOf(control) : std::string();
}

void Win32Window::SetContent(const std::string& editBox, const std::string& text) {
    if (HWND control = ComponentHandle(editBox)) {
        SetWindowTextW(control, WideFromAnsi(text).c_str());
    }
}

void Win32Window::SetEnabled(const std::string& button, bool enabled) {
    if (HWND control = ComponentHandle(button)) {
        EnableWindow(control, enabled);
    }
}

bool Win32Window::GetEnabled(const std::string& button) const {
    HWND control = ComponentHandle(button);
    return control != nullptr && IsWindowEnabled(control) != FALSE;
}

void Win32Window::Close() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

// The taskbar entry flashes until the window comes to the front.
void Win32Window::RequestAttention() {
    FLASHWINFO flash{sizeof flash, window_, FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
    FlashWindowEx(&flash);
}

bool Win32Window::GetTicked(const std::string& checkBox) const {
    HWND control = ComponentHandle(checkBox);
    return control != nullptr && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Window::SetTicked(const std::string& checkBox, bool ticked) {
    if (HWND control = ComponentHandle(checkBox)) {
        SendMessageW(control, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

int Win32Window::GetInterval(const std::string& timer) const {
    auto found = intervals_.find(timer);
    return found != intervals_.end() ? found->second : 0;
}

void Win32Window::SetInterval(const std::string& timer, int milliseconds) {
    const Control* control = Find(timer);
    if (control == nullptr || control->row->kind != Kind::Timer) {
        return;
    }
    intervals_[timer] = std::max(milliseconds, 0);
    if (milliseconds > 0) {
        SetTimer(window_, UINT_PTR(control->id), UINT(milliseconds), nullptr);
    } else {
        KillTimer(window_, UINT_PTR(control->id));
    }
}

// A component on a page that is not shown would take the typing unseen: the
// focus goes to the first control of the shown page instead.
void Win32Window::FocusComponent(const std::string& name) {
    HWND control = ComponentHandle(name);
    if (control != nullptr && !ShownInWindow(control)) {
        std::vector<HWND> order = FocusOrder();
        control = order.empty() ? nullptr : order.front();
    }
    if (control != nullptr) {
        focus_ = control;
        Focus(control);
    }
}

void Win32Window::KeepAbove(bool above) {
    if (above) {
        SetForegroundWindow(window_);
    }
    SetWindowPos(window_, above ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

// The time's pane takes what the hot key's line, sized to its text, leaves.
void Win32Window::SetStatusPanelText(const std::string& statusBar, int panel,
                                     const std::string& text) {
    HWND bar = ComponentHandle(statusBar);
    if (bar == nullptr || (panel != kTimePanel && panel != kTypingPanel)) {
        return;
    }
    std::wstring wide = WideFromAnsi(text);
    if (panel == kTypingPanel) {
        FitStatusPanes(bar, wide);
    }
    SendMessageW(bar, SB_SETTEXTW, WPARAM(panel), LPARAM(wide.c_str()));
}

void Win32Window::FitStatusPanes(HWND bar, const std::wstring& line) {
    HDC dc = GetDC(bar);
    HGDIOBJ before = SelectObject(dc, HGDIOBJ(SendMessageW(bar, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, line.c_str(), int(line.size()), &size);
    SelectObject(dc, before);
    ReleaseDC(bar, dc);
    RECT client{};
    GetClientRect(bar, &client);
    int padding = line.empty() ? 0 : MulDiv(12, int(GetDpiForWindow(bar)), kDesignDpi);
    std::array<int, 2> edges = {int(client.right) - int(size.cx) - padding, -1};
    SendMessageW(bar, SB_SETPARTS, edges.size(), LPARAM(edges.data()));
    for (int panel : {kTimePanel, kTypingPanel}) {
        RECT area{};
        SendMessageW(bar, SB_GETRECT, WPARAM(panel), LPARAM(&area));
        tips_->MovePart(bar, UINT_PTR(panel), area);
    }
}

void Win32Window::SetStatusPanelTip(const std::string& statusBar, int panel,
                                    const std::string& tip) {
    HWND bar = ComponentHandle(statusBar);
    if (bar == nullptr || (panel != kTimePanel && panel != kTypingPanel)) {
        return;
    }
    RECT area{};
    SendMessageW(bar, SB_GETRECT, WPARAM(panel), LPARAM(&area));
    tips_->SetPart(bar, UINT_PTR(panel), area, ReadableTip(tip));
}

void Win32Window::SetTip(const std::string& name, const std::string& tip) {
    if (HWND control = ComponentHandle(name)) {
        tips_->Set(control, ReadableTip(tip));
    }
}

void Win32Window::SetFinding(const std::string& editBox, const std::string& finding) {
    HWND control = ComponentHandle(editBox);
    if (control == nullptr) {
        return;
    }
    if (finding.empty()) {
        findings_.erase(control);
    } else {
        findings_.insert(control);
    }
    tips_->Set(control, ReadableTip(finding));
    SetAccessibleDescription(control, finding);
    InvalidateRect(control, nullptr, TRUE);
}

std::string Win32Window::PasteNote(const std::string& editBox) const {
    HWND control = ComponentHandle(editBox);
    return control != nullptr ? PasteNoteOf(control) : std::string();
}

void Win32Window::AddContextAction(const std::string& editBox, const std::string& caption,
                                   std::function<void()> handler) {
    if (HWND control = ComponentHandle(editBox)) {
        AddContextEntry(control, caption, std::move(handler));
    }
}

void Win32Window::Bind(const std::string& name, Event event, std::function<void()> handler) {
    handlers_[{name, event}].push_back(std::move(handler));
}

void Win32Window::FinishCreation() {
    Run(kMainWindow, Event::Created);
}

void Win32Window::Run(const std::string& name, Event event) {
    auto found = handlers_.find({name, event});
    if (found == handlers_.end()) {
        return;
    }
    for (const std::function<void()>& handler : std::vector(found->second)) {
        handler();
    }
}

void Win32Window::RunById(int id, Event event) {
    auto name = names_.find(id);
    if (name != names_.end()) {
        Run(name->second, event);
    }
}

void Win32Window::RunAfter(int milliseconds, std::function<void()> task) {
    shots_->Add(milliseconds, std::move(task));
}

bool Win32Window::ShowMessage(const Message& message) {
    return ShowOwnedMessageBox(window_, message);
}

int Win32Window::CurrentPage() const {
    return int(SendMessageW(ComponentHandle(kPageControl), TCM_GETCURSEL, 0, 0));
}

void Win32Window::SelectPage(int index) {
    const std::vector<HWND>& pages = builder_->Pages();
    for (size_t i = 0; i < pages.size(); ++i) {
        ShowWindow(pages[i], std::cmp_equal(i, index) ? SW_SHOW : SW_HIDE);
    }
    if (HWND tabs = ComponentHandle(kPageControl)) {
        SendMessageW(tabs, TCM_SETCURSEL, WPARAM(index), 0);
    }
}

// At the screen's DPI, with pages that scroll where the window would be
// taller than the work area of its monitor (a laptop's screen at 150 %).
WindowFit Win32Window::FitOnScreen() const {
    UINT dpi = GetDpiForWindow(window_);
    RECT work = WorkAreaOf(window_);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectExForDpi(&frame, DWORD(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                             DWORD(GetWindowLongPtrW(window_, GWL_EXSTYLE)), dpi);
    return FitWindow(int(dpi), int(work.bottom - work.top), int(frame.bottom - frame.top),
                     GetSystemMetricsForDpi(SM_CXVSCROLL, dpi), description_.frame);
}

// The client area is the fit's, the frame the screen's. The frame's size is
// measured after a first try, since the system's estimate of it may differ.
void Win32Window::SizeClient() {
    int width = fit_.ClientWidth();
    int height = fit_.ClientHeight();
    RECT outer{0, 0, width, height};
    AdjustWindowRectExForDpi(&outer, DWORD(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                             DWORD(GetWindowLongPtrW(window_, GWL_EXSTYLE)),
                             GetDpiForWindow(window_));
    for (int tries = 0; tries < 2; ++tries) {
        ::SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT client{};
        GetClientRect(window_, &client);
        outer.right += width - client.right;
        outer.bottom += height - client.bottom;
    }
}

// On another monitor, at another DPI, or with another work area: laid out
// again to fit, and moved up into the work area where it reaches below.
void Win32Window::Fit() {
    WindowFit fit = FitOnScreen();
    if (fit.dpi != fit_.dpi || fit.cut != fit_.cut || fit.scrollBar != fit_.scrollBar) {
        fit_ = fit;
        builder_->Rescale(fit);
    }
    SizeClient();
    RECT work = WorkAreaOf(window_);
    RECT outer{};
    GetWindowRect(window_, &outer);
    LONG top = std::max(work.top, std::min(outer.top, work.bottom - (outer.bottom - outer.top)));
    if (top != outer.top) {
        ::SetWindowPos(window_, nullptr, outer.left, top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (HWND bar = ComponentHandle(kStatusBar)) {
        std::wstring line(LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, kTypingPanel, 0)), L'\0');
        SendMessageW(bar, SB_GETTEXTW, kTypingPanel, LPARAM(line.data()));
        FitStatusPanes(bar, line);
    }
    monitor_ = MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST);
}

void Win32Window::ShowCentered() {
    RECT outer{};
    GetWindowRect(window_, &outer);
    RECT work = WorkAreaOf(window_);
    int left = work.left + ((work.right - work.left - (outer.right - outer.left)) / 2);
    int top = work.top + ((work.bottom - work.top - (outer.bottom - outer.top)) / 2);
    ::SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    monitor_ = MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST);
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

int Win32Window::RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (HandleKey(message)) {
            continue;
        }
        if (!IsDialogMessageW(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return int(message.wParam);
}

LRESULT CALLBACK Win32Window::WindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(l);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, LONG_PTR(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr || self->window_ == nullptr) {
        return DefWindowProcW(hwnd, message, w, l);
    }
    return self->Handle(message, w, l);
}

LRESULT Win32Window::Handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(w) == BN_CLICKED) {
            RunById(LOWORD(w), Event::Click);
        } else if (HIWORD(w) == EN_CHANGE) {
            RunById(LOWORD(w), Event::Edited);
        } else if (HIWORD(w) == EN_KILLFOCUS) {
            RunById(LOWORD(w), Event::Confirmed);
        }
        return 0;
    case WM_TIMER:
        RunById(int(w), Event::Tick);
        return 0;
    case SingleShots::kMessage:
        shots_->Fire(w);
        return 0;
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(l)->code == TCN_SELCHANGE) {
            SelectPage(
                int(SendMessageW(reinterpret_cast<NMHDR*>(l)->hwndFrom, TCM_GETCURSEL, 0, 0)));
        }
        return 0;
    case WM_CTLCOLORSTATIC:
        return ColorStatic(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l));
    case WM_CTLCOLOREDIT:
        SetTextColor(reinterpret_cast<HDC>(w), findings_.contains(reinterpret_cast<HWND>(l))
                                                   ? RGB(255, 0, 0)
                                                   : GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(reinterpret_cast<HDC>(w), GetSysColor(COLOR_WINDOW));
        return LRESULT(GetSysColorBrush(COLOR_WINDOW));
    case WM_ACTIVATE:
        if (LOWORD(w) == WA_INACTIVE) {
            focus_ = GetFocus() != nullptr && IsChild(window_, GetFocus()) ? GetFocus() : focus_;
        } else if (focus_ != nullptr) {
            SetFocus(focus_);
        }
        return 0;
    case WM_DPICHANGED: {
        // The system's suggestion keeps the window where the user sees it.
        const auto* suggested = reinterpret_cast<const RECT*>(l);
        ::SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Fit();
        return 0;
    }
    case WM_SETTINGCHANGE:
        if (w == SPI_SETWORKAREA) {
            Fit();
        }
        return DefWindowProcW(window_, message, w, l);
    case WM_DISPLAYCHANGE:
        Fit();
        return DefWindowProcW(window_, message, w, l);
    case WM_EXITSIZEMOVE:
        if (MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST) != monitor_) {
            Fit();
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window_, message, w, l);
    }
}

// Labels take the row's text colour; transparent ones show what lies behind.
LRESULT Win32Window::ColorStatic(HDC dc, HWND control) {
    auto name = names_.find(GetDlgCtrlID(control));
    const Control* found = name != names_.end() ? Find(name->second) : nullptr;
    if (found != nullptr && found->row->color) {
        std::uint32_t rgb = *found->row->color;
        SetTextColor(dc, RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    }
    SetBkMode(dc, TRANSPARENT);
    return LRESULT(GetSysColorBrush(COLOR_BTNFACE));
}

} // namespace orvane
