#pragma once

#include "start.h"
#include "window/practice_layout.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace orvane {

class Window;

// The practice form's own process, in its window built from the form's
// description: tells the program that started it every change of a box
// and each click of 提交, with the moment; shows what that program says
// and empties its boxes for the next press. Ends when the form is closed,
// or when the program that started it ends or stops reading. Returns the
// exit code.
int RunPracticeForm(Window& window, int boxCount);

// The practice form's process on the desktop's window.
template <class DesktopWindow> int RunPracticeProcess(const std::vector<PracticeBox>& boxes) {
    PracticeForm form = PracticeFormFor(boxes);
    std::unique_ptr<DesktopWindow> window = CreateMainWindow<DesktopWindow>(form.Description());
    if (!window) {
        return kFatalExitCode;
    }
    return RunPracticeForm(*window, int(std::min(boxes.size(), kPracticeBoxLimit)));
}

} // namespace orvane
