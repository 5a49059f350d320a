#include "window/message_box.h"
#include "runtime/ansi_literals.h"
#include "runtime/wide_text.h"

#include <windows.h>

namespace orvane {

int ShowMessageBox(const std::string& text, int code, const std::optional<std::string>& caption) {
    int answer =
        MessageBoxW(nullptr, WideFromAnsi(text).c_str(),
                    WideFromAnsi(caption.value_or("信息：")).c_str(), UINT(code) | MB_TASKMODAL);
    return answer > 0 ? answer - 1 : kResultCancel; // IDOK (1) is kResultOk (0), and so on
}

} // namespace orvane
