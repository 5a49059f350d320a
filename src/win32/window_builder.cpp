#include "window_builder.h"

#include "accessible.h"
#include "field_edit.h"
#include "text/wide_text.h"
#include "window_class.h"

#include <algorithm>
#include <commctrl.h>
#include <stdexcept>

namespace orvane {

namespace {

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

// Moves the page's content so that `position` of it is at the page's top.
void ScrollTo(HWND page, int position) {
    SCROLLINFO info{sizeof info, SIF_ALL};
    GetScrollInfo(page, SB_VERT, &info);
    int last = std::max(0, info.nMax + 1 - int(info.nPage));
    position = std::clamp(position, 0, last);
    if (position == info.nPos) {
        return;
    }
    ScrollWindowEx(page, 0, info.nPos - position, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    info.fMask = SIF_POS;
    info.nPos = position;
    SetScrollInfo(page, SB_VERT, &info, TRUE);
}

// A page shorter than its content scrolls by its bar and by the wheel.
void Scroll(HWND page, WPARAM w) {
    SCROLLINFO info{sizeof info, SIF_ALL};
    GetScrollInfo(page, SB_VERT, &info);
    int line = (int(info.nPage) / 10) + 1;
    int target = info.nPos;
    switch (LOWORD(w)) {
    case SB_LINEUP:
        target = info.nPos - line;
        break;
    case SB_LINEDOWN:
        target = info.nPos + line;
        break;
    case SB_PAGEUP:
        target = info.nPos - int(info.nPage);
        break;
    case SB_PAGEDOWN:
        target = info.nPos + int(info.nPage);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        target = info.nTrackPos;
        break;
    case SB_TOP:
        target = 0;
        break;
    case SB_BOTTOM:
        target = info.nMax;
        break;
    default:
        return;
    }
    ScrollTo(page, target);
}

LRESULT CALLBACK PageProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_VSCROLL) {
        Scroll(hwnd, w);
        return 0;
    }
    if (message == WM_MOUSEWHEEL) {
        int notches = GET_WHEEL_DELTA_WPARAM(w) / WHEEL_DELTA;
        for (int i = 0; i < std::abs(notches); ++i) {
            Scroll(hwnd, notches > 0 ? SB_LINEUP : SB_LINEDOWN);
        }
        return 0;
    }
    return IsForwarded(message) ? SendMessageW(GetAncestor(hwnd, GA_ROOT), message, w, l)
                                : DefWindowProcW(hwnd, message, w, l);
}

const wchar_t kPageClass[] = L"OrvanePage";

void RegisterPageClass() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterWindowClass(kPageClass, PageProc);
}

bool FaceExists(const std::wstring& face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(wanted.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(
        screen, &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
            *reinterpret_cast<bool*>(found) = true;
            return 0;
        },
        LPARAM(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// The layout's face, or where it is missing the system's Chinese UI face,
// then the message font's: never one without Chinese characters.
std::wstring ChineseFace(const std::string& family) {
    std::wstring face = WideFromAnsi(family);
    if (FaceExists(face)) {
        return face;
    }
    if (FaceExists(L"Microsoft YaHei")) {
        return L"Microsoft YaHei";
    }
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return metrics.lfMessageFont.lfFaceName;
}

HFONT MakeFont(const std::string& family, int pixels) {
    return CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, ChineseFace(family).c_str());
}

const FontChoice kDefaultFont{"SimSun", 12};

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
        return {L"BUTTON", BS_GROUPBOX, WS_EX_CONTROLPARENT};
    case Kind::DrawPanel:
        return {L"STATIC", 0, WS_EX_CONTROLPARENT};
    case Kind::PageControl:
        return {WC_TABCONTROLW, TCS_FIXEDWIDTH, WS_EX_CONTROLPARENT};
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

WindowBuilder::WindowBuilder(HWND window) : window_(window) {
    RegisterPageClass();
}

WindowBuilder::~WindowBuilder() {
    for (const auto& [choice, font] : fonts_) {
        DeleteObject(font);
    }
}

std::map<std::string, Control> WindowBuilder::Build(const std::vector<ComponentRow>& layout,
                                                    const WindowFit& fit) {
    fit_ = fit;
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

void WindowBuilder::Rescale(const WindowFit& fit) {
    fit_ = fit;
    std::map<std::pair<std::string, int>, HFONT> old = std::exchange(fonts_, {});
    for (const auto& [row, control] : made_) {
        Place(*row, control);
    }
    for (const auto& [choice, font] : old) {
        DeleteObject(font);
    }
}

HFONT WindowBuilder::FontFor(const ComponentRow& row) {
    const FontChoice& choice = row.font ? *row.font : kDefaultFont;
    std::pair<std::string, int> key{choice.family, Scaled(choice.pixels, fit_.dpi)};
    auto found = fonts_.find(key);
    if (found == fonts_.end()) {
        found = fonts_.emplace(key, MakeFont(key.first, key.second)).first;
    }
    return found->second;
}

void WindowBuilder::Place(const ComponentRow& row, HWND control) {
    Geometry g = PlacedGeometry(row, fit_);
    if (row.kind == Kind::Page) {
        // Its children are placed next at the top of its content.
        SCROLLINFO info{sizeof info, SIF_ALL, 0, PageContentHeight(fit_.dpi) - 1, UINT(g.height)};
        SetScrollInfo(control, SB_VERT, &info, TRUE);
    }
    SetWindowPos(control, nullptr, g.left, g.top, g.width, g.height, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control, WM_SETFONT, WPARAM(FontFor(row)), TRUE);
    if (row.kind == Kind::PageControl) {
        // The tabs share the row, as wide as each other.
        int tabs = Scaled(kTabRowHeight, fit_.dpi);
        int width = Scaled(row.geometry.width, fit_.dpi);
        SendMessageW(control, TCM_SETITEMSIZE, 0, MAKELPARAM((width / kTabCount) - 2, tabs - 2));
    }
}

void WindowBuilder::ScrollIntoView(HWND control) const {
    HWND page = control;
    while (page != nullptr && std::find(pages_.begin(), pages_.end(), page) == pages_.end()) {
        page = GetParent(page);
    }
    if (page == nullptr || page == control) {
        return;
    }
    RECT box{};
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&box), 2);
    RECT shown{};
    GetClientRect(page, &shown);
    SCROLLINFO info{sizeof info, SIF_POS};
    GetScrollInfo(page, SB_VERT, &info);
    if (box.top < 0) {
        ScrollTo(page, info.nPos + box.top);
    } else if (box.bottom > shown.bottom) {
        ScrollTo(page, info.nPos + box.bottom - shown.bottom);
    }
}

HWND WindowBuilder::Make(const ComponentRow& row, HWND parent, int id) {
    ControlClass type = ClassOf(row);
    std::wstring caption = row.kind == Kind::EditBox ? L"" : WideFromAnsi(row.caption);
    // Siblings that overlap never paint over each other.
    HWND control =
        CreateWindowExW(type.extended, type.name, caption.c_str(),
                        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | type.style, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleW(nullptr), nullptr);
    if (control == nullptr) {
        return nullptr;
    }
    // A new child goes below its siblings; the table puts a later row in
    // front.
    SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    made_.emplace_back(&row, control);
    Place(row, control);
    if (row.kind == Kind::Page) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(parent, TCM_INSERTITEMW, pages_.size(), LPARAM(&item));
        pages_.push_back(control);
    } else if (row.kind == Kind::PageControl || row.kind == Kind::GroupBox ||
               row.kind == Kind::DrawPanel) {
        SetWindowSubclass(control, Forward, 1, 0);
    } else if (row.kind == Kind::EditBox) {
        MakeFieldEdit(control, size_t(row.inputLimit));
    }
    if (!row.accessibleName.empty()) {
        SetAccessibleName(control, row.accessibleName);
    }
    return control;
}

} // namespace orvane
