#pragma once

#include "window/layout.h"

#include <map>
#include <string>
#include <vector>
#include <windows.h>

namespace orvane {

// A control made for a row of the layout table.
struct Control {
    const ComponentRow* row = nullptr;
    HWND handle = nullptr; // none for a timer
    int id = 0;            // the control's or the timer's id
};

// Makes the window's controls from the layout table with the system's own
// controls: tab control, group boxes, buttons, edit boxes with their byte
// limits, check boxes, labels and a status bar. Owns the fonts they use.
class WindowBuilder {
public:
    static constexpr int kFirstId = 100;

    explicit WindowBuilder(HWND window);
    ~WindowBuilder();
    WindowBuilder(const WindowBuilder&) = delete;
    WindowBuilder& operator=(const WindowBuilder&) = delete;

    // Every row's control, in table order, with ids from kFirstId on.
    // Throws std::runtime_error when one cannot be made.
    std::map<std::string, Control> Build(const std::vector<ComponentRow>& layout);
    // The tab control's pages, in order.
    const std::vector<HWND>& Pages() const { return pages_; }

private:
    HWND Make(const ComponentRow& row, HWND parent, int id);
    HFONT FontFor(const ComponentRow& row);

    HWND window_;
    HFONT defaultFont_;
    std::vector<HFONT> fonts_;
    std::vector<HWND> pages_;
};

} // namespace orvane
