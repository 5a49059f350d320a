#pragma once

#include "window/layout.h"

#include <map>
#include <string>
#include <utility>
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
// controls, at the window's DPI: tab control, group boxes, buttons, edit
// boxes with their byte limits, check boxes, labels and a status bar. Among
// siblings a later row lies in front, and is what a click there reaches.
// Owns the fonts they use.
class WindowBuilder {
public:
    static constexpr int kFirstId = 100;

    explicit WindowBuilder(HWND window);
    ~WindowBuilder();
    WindowBuilder(const WindowBuilder&) = delete;
    WindowBuilder& operator=(const WindowBuilder&) = delete;

    // Every row's control, in table order, with ids from kFirstId on.
    // Throws std::runtime_error when one cannot be made.
    std::map<std::string, Control> Build(const std::vector<ComponentRow>& layout,
                                         const WindowFit& fit);
    // Places every control and sizes its font anew for another fit, the
    // pages scrolled to their tops.
    void Rescale(const WindowFit& fit);
    // Scrolls the page that holds the control until the control is in view.
    void ScrollIntoView(HWND control) const;
    // The tab control's pages, in order.
    const std::vector<HWND>& Pages() const { return pages_; }

private:
    HWND Make(const ComponentRow& row, HWND parent, int id);
    void Place(const ComponentRow& row, HWND control);
    HFONT FontFor(const ComponentRow& row);

    HWND window_;
    WindowFit fit_;
    std::map<std::pair<std::string, int>, HFONT> fonts_; // by face and pixels
    std::vector<std::pair<const ComponentRow*, HWND>> made_;
    std::vector<HWND> pages_;
};

} // namespace orvane
