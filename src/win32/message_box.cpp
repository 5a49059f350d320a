#include "window/message_box.h"
#include "owned_message_box.h"

#include "text/wide_text.h"

#include <array>

namespace orvane {

namespace {

// Indexed by MessageKind.
const std::array<UINT, 5> kStyles = {
    MB_OK,
    MB_OK | MB_ICONINFORMATION,
    MB_OKCANCEL | MB_ICONQUESTION,
    MB_OK | MB_ICONWARNING,
    MB_OK | MB_ICONERROR,
};

} // namespace

bool ShowOwnedMessageBox(HWND owner, const Message& message) {
    UINT style = kStyles.at(size_t(message.kind)) | (owner == nullptr ? MB_TASKMODAL : 0);
    int answer = MessageBoxW(owner, WideFromAnsi(message.text).c_str(),
                             WideFromAnsi(message.caption).c_str(), style);
    return answer != IDCANCEL || message.kind != MessageKind::Question;
}

bool ShowMessageBox(const Message& message) {
    return ShowOwnedMessageBox(nullptr, message);
}

} // namespace orvane
