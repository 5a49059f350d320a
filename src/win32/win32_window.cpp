#include "win32_window.h"

#include "ansi_literals.h"
#include "component_names.h"
#include "message_box.h"
#include "task_window.h"
#include "wide_text.h"

#include <commctrl.h>
#include <stdexcept>

namespace {

constexpr UINT kSingleShot = WM_APP + 2;
constexpr int kTabRowHeight = 22;
constexpr int kFirstId = 100;

std::wstring Wide(const std::string& text) {
    return WideFromAnsi(text);
}

std::string TextOf(HWND control) {
    int length = GetWindowTextLengthW(control);
    std::wstring text(size_t(length) + 1, L'\0');
    GetWindowTextW(control, text.data(), length + 1);
    text.resize(size_t(length));
    return AnsiFromWide(text);
}

// Containers pass their children's notifications on to the window.
bool IsForwarded(UINT message) {
    return message == WM_COMMAND || message == WM_NOTIFY || message == WM_CTLCOLORSTATIC ||
           message == WM_CTLCOLOREDIT || message == WM_CTLCOLORBTN;
}

LRESULT CALLBACK Forward(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
    return IsForwarded(message) ? SendMessageW(GetAncestor(hwnd, GA_ROOT), message, w, l)
                                : DefSubclassProc(hwnd, message, w, l);
}

// Refuses typing and pasting that would take the box past its limit in
// ANSI bytes; deleting is always allowed.
LRESULT CALLBACK ByteLimit(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR limit) {
    std::wstring insert;
    if (message == WM_CHAR && w >= 0x20) {
        insert.assign(1, wchar_t(w));
    } else if (message == WM_PASTE && OpenClipboard(hwnd)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            insert = static_cast<const wchar_t*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
    } else {
        return DefSubclassProc(hwnd, message, w, l);
    }
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(hwnd, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    std::wstring text = WideFromAnsi(TextOf(hwnd));
    std::wstring after =
        text.substr(0, start) + insert + text.substr(std::min<size_t>(end, text.size()));
    if (AnsiFromWide(after).size() > limit) {
        MessageBeep(MB_OK);
        return 0;
    }
    return DefSubclassProc(hwnd, message, w, l);
}

LRESULT CALLBACK PageProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    return IsForwarded(message) ? SendMessageW(GetAncestor(hwnd, GA_ROOT), message, w, l)
                                : DefWindowProcW(hwnd, message, w, l);
}

void RegisterClasses(WNDPROC windowProc) {
    static bool done = false;
    if (done) {
        return;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW main{};
    main.lpfnWndProc = windowProc;
    main.hInstance = GetModuleHandleW(nullptr);
    main.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    main.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    main.lpszClassName = L"OrvaneWindow";
    RegisterClassW(&main);
    WNDCLASSW page = main;
    page.lpfnWndProc = PageProc;
    page.lpszClassName = L"OrvanePage";
    RegisterClassW(&page);
    done = true;
}

HFONT MakeFont(const std::string& family, int pixels) {
    return CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, Wide(family).c_str());
}

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD extended;
};

ControlClass ClassOf(Kind kind) {
    switch (kind) {
    case Kind::EditBox:
        return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::Button:
        return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case Kind::CheckBox:
        return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    case Kind::GroupBox:
        return {L"BUTTON", BS_GROUPBOX, 0};
    case Kind::PageControl:
        return {WC_TABCONTROLW, WS_CLIPSIBLINGS | TCS_FIXEDWIDTH, 0};
    case Kind::Page:
        return {L"OrvanePage", 0, WS_EX_CONTROLPARENT};
    case Kind::StatusBar:
        return {STATUSCLASSNAMEW, 0, 0};
    default:
        return {L"STATIC", SS_LEFT, 0};
    }
}

} // namespace

Win32Window::Win32Window() {
    TaskWindow(); // posted tasks run on this thread
    RegisterClasses(WindowProc);
    const WindowFrame& frame = MainWindowFrame();
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT outer{0, 0, frame.clientWidth, frame.clientHeight};
    AdjustWindowRect(&outer, style, FALSE);
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, L"OrvaneWindow", Wide(frame.title).c_str(),
                              style, CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
                              outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleW(nullptr),
                              this);
    if (window_ == nullptr) {
        throw std::runtime_error("the window cannot be made");
    }
    defaultFont_ = MakeFont("SimSun", 12);
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, 400); // findings run to several lines
    Build();
    SelectPage(0);
}

Win32Window::~Win32Window() {
    if (IsWindow(window_)) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    for (HFONT font : fonts_) {
        DeleteObject(font);
    }
    DeleteObject(defaultFont_);
}

void Win32Window::Build() {
    const std::vector<ComponentRow>& layout = MainWindowLayout();
    for (size_t i = 0; i < layout.size(); ++i) {
        const ComponentRow& row = layout[i];
        int id = kFirstId + int(i);
        names_[id] = row.name;
        if (row.kind == Kind::Timer) {
            components_[row.name] = {&row, nullptr, id, row.interval};
            if (row.interval > 0) {
                SetTimer(window_, UINT_PTR(id), UINT(row.interval), nullptr);
            }
            continue;
        }
        const Component* parent = row.parent.empty() ? nullptr : Find(row.parent);
        HWND control = MakeControl(row, parent != nullptr ? parent->handle : window_, id);
        if (control == nullptr) {
            throw std::runtime_error("a component cannot be made");
        }
        components_[row.name] = {&row, control, id, 0};
    }
}

HWND Win32Window::MakeControl(const ComponentRow& row, HWND parent, int id) {
    ControlClass type = ClassOf(row.kind);
    bool oneLine = row.caption.find('\n') == std::string::npos;
    if ((row.kind == Kind::Label || row.kind == Kind::TransLabel) && oneLine) {
        type.style = SS_LEFTNOWORDWRAP; // one-line captions never break
    }
    Geometry g = row.geometry;
    bool onPage = std::find(pages_.begin(), pages_.end(), parent) != pages_.end();
    if (row.kind == Kind::Page) {
        RECT area{};
        GetClientRect(parent, &area);
        g = {0, kTabRowHeight, area.right, area.bottom - kTabRowHeight};
    } else if (onPage) {
        g.top -= kTabRowHeight; // pages start below the tab row
    }
    std::wstring caption = row.kind == Kind::EditBox ? L"" : Wide(row.caption);
    HWND control = CreateWindowExW(type.extended, type.name, caption.c_str(),
                                   WS_CHILD | WS_VISIBLE | type.style, g.left, g.top, g.width,
                                   g.height, parent, reinterpret_cast<HMENU>(INT_PTR(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (control == nullptr) {
        return nullptr;
    }
    HFONT font = defaultFont_;
    if (row.font) {
        font = MakeFont(row.font->family, row.font->pixels);
        fonts_.push_back(font);
    }
    SendMessageW(control, WM_SETFONT, WPARAM(font), TRUE);
    if (row.kind == Kind::Page) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(parent, TCM_INSERTITEMW, pages_.size(), LPARAM(&item));
        pages_.push_back(control);
    } else if (row.kind == Kind::PageControl) {
        SetWindowSubclass(control, Forward, 1, 0);
        // Six tabs share the row, as wide as each other.
        SendMessageW(control, TCM_SETITEMSIZE, 0, MAKELPARAM(g.width / 6 - 2, kTabRowHeight - 2));
    } else if (row.kind == Kind::GroupBox) {
        SetWindowSubclass(control, Forward, 1, 0);
    } else if (row.kind == Kind::EditBox && row.inputLimit > 0) {
        SetWindowSubclass(control, ByteLimit, 2, DWORD_PTR(row.inputLimit));
    }
    return control;
}

const Win32Window::Component* Win32Window::Find(const std::string& name) const {
    auto found = components_.find(name);
    return found == components_.end() ? nullptr : &found->second;
}

HWND Win32Window::ComponentHandle(const std::string& name) const {
    const Component* component = Find(name);
    return component != nullptr ? component->handle : nullptr;
}

std::string Win32Window::GetContent(const std::string& editBox) const {
    HWND control = ComponentHandle(editBox);
    return control != nullptr ? TextOf(control) : std::string();
}

void Win32Window::SetContent(const std::string& editBox, const std::string& text) {
    if (HWND control = ComponentHandle(editBox)) {
        SetWindowTextW(control, Wide(text).c_str());
    }
}

void Win32Window::SetEnabled(const std::string& button, bool enabled) {
    if (HWND control = ComponentHandle(button)) {
        EnableWindow(control, enabled);
    }
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
    const Component* component = Find(timer);
    return component != nullptr ? component->interval : 0;
}

void Win32Window::SetInterval(const std::string& timer, int milliseconds) {
    auto found = components_.find(timer);
    if (found == components_.end() || found->second.row->kind != Kind::Timer) {
        return;
    }
    Component& component = found->second;
    component.interval = std::max(milliseconds, 0);
    if (component.interval > 0) {
        SetTimer(window_, UINT_PTR(component.id), UINT(component.interval), nullptr);
    } else {
        KillTimer(window_, UINT_PTR(component.id));
    }
}

void Win32Window::FocusComponent(const std::string& name) {
    if (HWND control = ComponentHandle(name)) {
        SetFocus(control);
    }
}

std::uintptr_t Win32Window::WindowHandle(const std::string& name) {
    return name == kMainWindow || Find(name) != nullptr ? std::uintptr_t(window_) : 0;
}

void Win32Window::SetStatusPanelText(const std::string& statusBar, int panel,
                                     const std::string& text) {
    if (HWND bar = ComponentHandle(statusBar)) {
        SendMessageW(bar, SB_SETTEXTW, WPARAM(panel), LPARAM(Wide(text).c_str()));
    }
}

void Win32Window::SetStatusPanelTip(const std::string& statusBar, int, const std::string& tip) {
    if (HWND bar = ComponentHandle(statusBar)) {
        SetTip(bar, tip); // the bar has one panel
    }
}

// The control's tooltip; empty removes it.
void Win32Window::SetTip(HWND control, const std::string& tip) {
    std::wstring text = Wide(tip);
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = window_;
    info.uId = UINT_PTR(control);
    info.lpszText = text.data();
    bool known = SendMessageW(tips_, TTM_GETTOOLINFOW, 0, LPARAM(&info)) != 0;
    info.lpszText = text.data();
    if (text.empty()) {
        SendMessageW(tips_, TTM_DELTOOLW, 0, LPARAM(&info));
    } else {
        SendMessageW(tips_, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, LPARAM(&info));
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
        findings_[control] = finding;
    }
    SetTip(control, finding);
    InvalidateRect(control, nullptr, TRUE);
}

void Win32Window::WatchEdits(std::function<void()> handler) {
    editWatchers_.push_back(std::move(handler));
}

void Win32Window::AddContextAction(const std::string& editBox, const std::string& caption,
                                   std::function<void()> handler) {
    if (HWND control = ComponentHandle(editBox)) {
        contextActions_[control] = {caption, std::move(handler)};
        SetWindowSubclass(control, ContextMenu, 3, DWORD_PTR(this));
    }
}

// The edit box's menu in Chinese, with the window's own entry at its end.
LRESULT CALLBACK Win32Window::ContextMenu(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                          DWORD_PTR self) {
    if (message != WM_CONTEXTMENU) {
        return DefSubclassProc(hwnd, message, w, l);
    }
    const ContextAction& action = reinterpret_cast<Win32Window*>(self)->contextActions_[hwnd];
    struct Entry {
        const char* caption;
        UINT message;
        WPARAM w;
        LPARAM l;
    };
    static const Entry entries[] = {
        {"撤消(&U)", EM_UNDO, 0, 0},  {"剪切(&T)", WM_CUT, 0, 0},   {"复制(&C)", WM_COPY, 0, 0},
        {"粘贴(&P)", WM_PASTE, 0, 0}, {"删除(&D)", WM_CLEAR, 0, 0}, {"全选(&A)", EM_SETSEL, 0, -1},
    };
    HMENU menu = CreatePopupMenu();
    for (size_t i = 0; i < std::size(entries); ++i) {
        AppendMenuW(menu, MF_STRING, i + 1, Wide(entries[i].caption).c_str());
    }
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, std::size(entries) + 1, Wide(action.caption).c_str());
    POINT at{short(LOWORD(l)), short(HIWORD(l))};
    if (at.x == -1 && at.y == -1) {
        GetCursorPos(&at);
    }
    UINT chosen =
        UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd, nullptr));
    DestroyMenu(menu);
    if (chosen >= 1 && chosen <= std::size(entries)) {
        const Entry& entry = entries[chosen - 1];
        SendMessageW(hwnd, entry.message, entry.w, entry.l);
    } else if (chosen == std::size(entries) + 1) {
        action.handler();
    }
    return 0;
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

struct ShotTarget {
    HWND window;
    int id;
};

void Win32Window::RunAfter(int milliseconds, std::function<void()> task) {
    int id = nextShot_++;
    singleShots_[id] = std::move(task);
    auto* target = new ShotTarget{window_, id};
    HANDLE timer = nullptr;
    auto fire = [](PVOID parameter, BOOLEAN) {
        std::unique_ptr<ShotTarget> shot(static_cast<ShotTarget*>(parameter));
        PostMessageW(shot->window, kSingleShot, WPARAM(shot->id), 0);
    };
    if (!CreateTimerQueueTimer(&timer, nullptr, fire, target, DWORD(std::max(milliseconds, 0)), 0,
                               WT_EXECUTEONLYONCE)) {
        delete target;
        singleShots_.erase(id);
    }
}

int Win32Window::ShowMessage(const std::string& text, int code, const std::string& caption) {
    int answer = MessageBoxW(window_, Wide(text).c_str(), Wide(caption).c_str(), UINT(code));
    return answer > 0 ? answer - 1 : kResultCancel;
}

void Win32Window::SelectPage(int index) {
    for (size_t i = 0; i < pages_.size(); ++i) {
        ShowWindow(pages_[i], int(i) == index ? SW_SHOW : SW_HIDE);
    }
    if (HWND tabs = ComponentHandle(kPageControl)) {
        SendMessageW(tabs, TCM_SETCURSEL, WPARAM(index), 0);
    }
}

void Win32Window::ShowCentered() {
    const WindowFrame& frame = MainWindowFrame();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int left = work.left + (work.right - work.left - frame.outerWidth) / 2;
    int top = work.top + (work.bottom - work.top - frame.outerHeight) / 2;
    ::SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

int Win32Window::RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE &&
            GetAncestor(message.hwnd, GA_ROOT) == window_) {
            DestroyWindow(window_);
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
        if (HIWORD(w) == BN_CLICKED && names_.count(LOWORD(w)) != 0) {
            Run(names_[LOWORD(w)], Event::Click);
        } else if (HIWORD(w) == EN_CHANGE) {
            for (const std::function<void()>& watcher : std::vector(editWatchers_)) {
                watcher();
            }
        }
        return 0;
    case WM_TIMER:
        if (names_.count(int(w)) != 0) {
            Run(names_[int(w)], Event::Tick);
        }
        return 0;
    case kSingleShot: {
        auto found = singleShots_.find(int(w));
        if (found != singleShots_.end()) {
            std::function<void()> task = std::move(found->second);
            singleShots_.erase(found);
            task();
        }
        return 0;
    }
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(l)->code == TCN_SELCHANGE) {
            SelectPage(
                int(SendMessageW(reinterpret_cast<NMHDR*>(l)->hwndFrom, TCM_GETCURSEL, 0, 0)));
        }
        return 0;
    case WM_CTLCOLORSTATIC:
        return ColorStatic(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l));
    case WM_CTLCOLOREDIT:
        SetTextColor(reinterpret_cast<HDC>(w), findings_.count(reinterpret_cast<HWND>(l)) != 0
                                                   ? RGB(255, 0, 0)
                                                   : GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(reinterpret_cast<HDC>(w), GetSysColor(COLOR_WINDOW));
        return LRESULT(GetSysColorBrush(COLOR_WINDOW));
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window_, message, w, l);
    }
}

// Labels take the row's text colour; transparent ones show what lies behind.
LRESULT Win32Window::ColorStatic(HDC dc, HWND control) {
    int id = GetDlgCtrlID(control);
    auto name = names_.find(id);
    const Component* component = name != names_.end() ? Find(name->second) : nullptr;
    if (component != nullptr && component->row->color) {
        std::uint32_t rgb = *component->row->color;
        SetTextColor(dc, RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    }
    SetBkMode(dc, TRANSPARENT);
    return LRESULT(GetSysColorBrush(COLOR_BTNFACE));
}
