#include "tooltips.h"

#include "text/wide_text.h"

#include <commctrl.h>

namespace orvane {

Tooltips::Tooltips(HWND owner)
    : owner_(owner),
      tips_(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                            nullptr, GetModuleHandleW(nullptr), nullptr)) {
    SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, 400); // findings run to several lines
}

void Tooltips::Set(HWND control, const std::string& tip) {
    TTTOOLINFOW info{};
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = owner_;
    info.uId = UINT_PTR(control);
    Apply(info, tip);
}

void Tooltips::SetPart(HWND control, UINT_PTR part, const RECT& area, const std::string& tip) {
    TTTOOLINFOW info{};
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = control;
    info.uId = part;
    info.rect = area;
    Apply(info, tip);
}

void Tooltips::MovePart(HWND control, UINT_PTR part, const RECT& area) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = control;
    info.uId = part;
    info.rect = area;
    if (tools_.contains({control, part})) {
        SendMessageW(tips_, TTM_NEWTOOLRECTW, 0, LPARAM(&info));
    }
}

// Each new text is copied by the tooltip control from a buffer of its own.
void Tooltips::Apply(TTTOOLINFOW& info, const std::string& tip) {
    std::wstring text = WideFromAnsi(tip);
    info.cbSize = sizeof info;
    info.lpszText = text.data();
    std::pair key{info.hwnd, info.uId};
    bool known = tools_.contains(key);
    if (text.empty()) {
        if (known) {
            SendMessageW(tips_, TTM_DELTOOLW, 0, LPARAM(&info));
            tools_.erase(key);
        }
    } else if (known) {
        SendMessageW(tips_, TTM_UPDATETIPTEXTW, 0, LPARAM(&info));
    } else if (SendMessageW(tips_, TTM_ADDTOOLW, 0, LPARAM(&info)) != 0) {
        tools_.insert(key);
    }
}

} // namespace orvane
