#include "window_builder.h"

#include "field_edit.h"
#include "runtime/wide_text.h"

#include <algorithm>
#include <commctrl.h>
#include <stdexcept>

namespace orvane {

namespace {

constexpr int kTabRowHeight = 22;
constexpr int kTabCount = 6;

// Containers pass their children's notifications on to the window.
bool IsForwarded(UINT message) {
    return message == WM_COMMAND || message == WM_NOTIFY || message == WM_CTLCOLORSTATIC ||
           message == WM_CTLCOLOREDIT || message == WM_CTLCOLORBTN;
}

LRESULT CALLBACK Forward(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
    return IsForwarded(message) ? SendMessageW(GetAncestor(hwnd, GA_ROOT), message, w, l)
                                : DefSubclassProc(hwnd, message, w, l);
}

LRESULT CALLBACK PageProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    return IsForwarded(message) ? SendMessageW(GetAncestor(hwnd, GA_ROOT), message, w, l)
                                : DefWindowProcW(hwnd, message, w, l);
}

const wchar_t kPageClass[] = L"OrvanePage";

void RegisterPageClass() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSW page{};
        page.lpfnWndProc = PageProc;
        page.hInstance = GetModuleHandleW(nullptr);
        page.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        page.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        page.lpszClassName = kPageClass;
        return RegisterClassW(&page) != 0;
    }();
    (void)registered;
}

HFONT MakeFont(const std::string& family, int pixels) {
    return CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, WideFromAnsi(family).c_str());
}

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD extended;
};

ControlClass ClassOf(const ComponentRow& row) {
    switch (row.kind) {
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
        return {kPageClass, 0, WS_EX_CONTROLPARENT};
    case Kind::StatusBar:
        return {STATUSCLASSNAMEW, 0, 0};
    default:
        // One-line captions never break.
        return {L"STATIC",
                DWORD(row.caption.find('\n') == std::string::npos ? SS_LEFTNOWORDWRAP : SS_LEFT),
                0};
    }
}

} // namespace

WindowBuilder::WindowBuilder(HWND window) : window_(window), defaultFont_(MakeFont("SimSun", 12)) {
    RegisterPageClass();
}

WindowBuilder::~WindowBuilder() {
    for (HFONT font : fonts_) {
        DeleteObject(font);
    }
    DeleteObject(defaultFont_);
}

std::map<std::string, Control> WindowBuilder::Build(const std::vector<ComponentRow>& layout) {
    std::map<std::string, Control> controls;
    for (size_t i = 0; i < layout.size(); ++i) {
        const ComponentRow& row = layout[i];
        int id = kFirstId + int(i);
        if (row.kind == Kind::Timer) {
            controls[row.name] = {&row, nullptr, id};
            continue;
        }
        auto parent = controls.find(row.parent);
        HWND handle = Make(row, parent != controls.end() ? parent->second.handle : window_, id);
        if (handle == nullptr) {
            throw std::runtime_error("a component cannot be made");
        }
        controls[row.name] = {&row, handle, id};
    }
    return controls;
}

HFONT WindowBuilder::FontFor(const ComponentRow& row) {
    if (!row.font) {
        return defaultFont_;
    }
    fonts_.push_back(MakeFont(row.font->family, row.font->pixels));
    return fonts_.back();
}

HWND WindowBuilder::Make(const ComponentRow& row, HWND parent, int id) {
    ControlClass type = ClassOf(row);
    Geometry g = row.geometry;
    if (row.kind == Kind::Page) {
        RECT area{};
        GetClientRect(parent, &area);
        g = {0, kTabRowHeight, area.right, area.bottom - kTabRowHeight};
    } else if (std::find(pages_.begin(), pages_.end(), parent) != pages_.end()) {
        g.top -= kTabRowHeight; // pages start below the tab row
    }
    std::wstring caption = row.kind == Kind::EditBox ? L"" : WideFromAnsi(row.caption);
    HWND control = CreateWindowExW(type.extended, type.name, caption.c_str(),
                                   WS_CHILD | WS_VISIBLE | type.style, g.left, g.top, g.width,
                                   g.height, parent, reinterpret_cast<HMENU>(INT_PTR(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (control == nullptr) {
        return nullptr;
    }
    SendMessageW(control, WM_SETFONT, WPARAM(FontFor(row)), TRUE);
    if (row.kind == Kind::Page) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(parent, TCM_INSERTITEMW, pages_.size(), LPARAM(&item));
        pages_.push_back(control);
    } else if (row.kind == Kind::PageControl) {
        SetWindowSubclass(control, Forward, 1, 0);
        // The tabs share the row, as wide as each other.
        SendMessageW(control, TCM_SETITEMSIZE, 0,
                     MAKELPARAM(g.width / kTabCount - 2, kTabRowHeight - 2));
    } else if (row.kind == Kind::GroupBox) {
        SetWindowSubclass(control, Forward, 1, 0);
    } else if (row.kind == Kind::EditBox) {
        MakeFieldEdit(control, size_t(row.inputLimit));
    }
    return control;
}

} // namespace orvane
