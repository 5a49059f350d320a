#include "tooltips.h"

#include "runtime/wide_text.h"

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
    std::wstring text = WideFromAnsi(tip);
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = owner_;
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

} // namespace orvane
