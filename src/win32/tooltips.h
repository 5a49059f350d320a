#pragma once

#include <set>
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
    std::set<HWND> tools_; // the controls that have a tooltip now
};

} // namespace orvane
