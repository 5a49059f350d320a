#pragma once

#include <optional>
#include <string>

namespace orvane {

// Button-and-icon codes: the low four bits choose the buttons, the next four
// the icon. Stored and passed on as these numbers.
enum MessageBoxCode : int {
    kBoxOk = 0x0,
    kBoxOkCancel = 0x1,
    kBoxAbortRetryIgnore = 0x2,
    kBoxYesNoCancel = 0x3,
    kBoxYesNo = 0x4,
    kBoxRetryCancel = 0x5,
    kBoxIconError = 0x10,
    kBoxIconQuestion = 0x20,
    kBoxIconWarning = 0x30,
    kBoxIconInformation = 0x40,
};

// Button that closed the box.
enum MessageBoxResult : int {
    kResultOk = 0,
    kResultCancel = 1,
    kResultAbort = 2,
    kResultRetry = 3,
    kResultIgnore = 4,
    kResultYes = 5,
    kResultNo = 6,
};

// Shows a modal box and waits for it to be closed; it blocks every window
// of the program. The caption defaults to "信息：". A box that belongs to
// the window is Window::ShowMessage.
int ShowMessageBox(const std::string& text, int code,
                   const std::optional<std::string>& caption = std::nullopt);

} // namespace orvane
