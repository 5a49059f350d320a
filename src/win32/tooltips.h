#pragma once

#include <set>
#include <string>
#include <utility>
#include <windows.h>

#include <commctrl.h> // after windows.h

namespace orvane {

// The tooltips of the window's controls: findings, and the status bar's
// panes (the estimate, the hot key's line).
class Tooltips {
public:
    explicit Tooltips(HWND owner);
    // The control's tooltip; empty removes it.
    void Set(HWND control, const std::string& tip);
    // The tooltip of a part of the control, its area in the control's client
    // coordinates; empty removes it.
    void SetPart(HWND control, UINT_PTR part, const RECT& area, const std::string& tip);
    // The part's area, moved.
    void MovePart(HWND control, UINT_PTR part, const RECT& area);
    HWND Handle() const { return tips_; }

private:
    void Apply(TTTOOLINFOW& info, const std::string& tip);

    HWND owner_;
    HWND tips_;
    std::set<std::pair<HWND, UINT_PTR>> tools_; // those that have a tooltip now
};

} // namespace orvane
