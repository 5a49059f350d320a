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

// Each new text is copied by the tooltip control from a buffer of its own.
void Tooltips::Set(HWND control, const std::string& tip) {
    std::wstring text = WideFromAnsi(tip);
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = owner_;
    info.uId = UINT_PTR(control);
    info.lpszText = text.data();
    bool known = tools_.contains(control);
    if (text.empty()) {
        if (known) {
            SendMessageW(tips_, TTM_DELTOOLW, 0, LPARAM(&info));
            tools_.erase(control);
        }
    } else if (known) {
        SendMessageW(tips_, TTM_UPDATETIPTEXTW, 0, LPARAM(&info));
    } else if (SendMessageW(tips_, TTM_ADDTOOLW, 0, LPARAM(&info)) != 0) {
        tools_.insert(control);
    }
}

} // namespace orvane
