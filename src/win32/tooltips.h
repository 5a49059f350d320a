#pragma once

#include <string>
#include <windows.h>

namespace orvane {

// The tooltips of the window's controls: findings and the status bar's
// estimate.
class Tooltips {
public:
    explicit Tooltips(HWND owner);
    // The control's tooltip; empty removes it.
    void Set(HWND control, const std::string& tip);
    HWND Handle() const { return tips_; }

private:
    HWND owner_;
    HWND tips_;
};

} // namespace orvane
