#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// The main window as data: every component with its place, caption and
// settings. The builder turns this table into widgets.

enum class Kind {
    EditBox,
    Button,
    CheckBox,
    Label,
    TransLabel,
    GroupBox,
    DrawPanel,
    PageControl,
    Page,
    StatusBar,
    Timer,
};

struct Geometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct FontChoice {
    std::string family; // ANSI text; a CJK fallback is added by the builder
    int pixels = 0;
};

struct ComponentRow {
    std::string name; // unique; handlers address the component by it
    Kind kind{};
    std::string parent; // empty: the window itself
    Geometry geometry;
    std::string caption;
    int inputLimit = 0;                 // ANSI bytes the user may type; 0: no limit
    std::optional<std::uint32_t> color; // 0xRRGGBB, of the text
    std::optional<FontChoice> font;
    int interval = 0;           // timer interval in ms
    std::string accessibleName; // for screen readers where captions repeat
};

struct WindowFrame {
    std::string title;
    int clientWidth = 0;
    int clientHeight = 0;
    int outerWidth = 0; // what the window takes on screen, frame included
    int outerHeight = 0;
    std::string firstPage;
};

const WindowFrame& MainWindowFrame();

// The height of the tab control's row of tabs, at 96 DPI: its pages start
// below it.
inline constexpr int kTabRowHeight = 22;
// The screen's pixels per inch that the table's pixels are meant for.
inline constexpr int kDesignDpi = 96;

// A length of the table at the screen's DPI.
int Scaled(int pixels, int dpi);

// How the window lies on its screen. Its text stays at the screen's DPI,
// where the table's 12-pixel text is 9 pt: people who chose a larger scale
// chose it to read. Where that window is taller than the work area, the
// pages lose height at the bottom and scroll, widened by their scroll bar;
// the tab row, 保存配置, 读取配置 and the status bar stay in view, and the
// pages end above the buttons, so that nothing scrolls under them.
struct WindowFit {
    int dpi = kDesignDpi;
    int cut = 0;       // pixels the pages lose at the screen's DPI
    int scrollBar = 0; // the width a scroll bar adds where they scroll
    const WindowFrame* frame = &MainWindowFrame();

    bool Scrolls() const { return cut > 0; }
    int ClientWidth() const;
    int ClientHeight() const;
};

// The fit on a screen of `dpi` whose work area is `workHeight` pixels high,
// for a frame (title bar and borders) `frameHeight` high and a vertical
// scroll bar `scrollBarWidth` wide. The client area never drops below a
// third of the table's height: on a screen smaller than that the window
// reaches below it.
WindowFit FitWindow(int dpi, int workHeight, int frameHeight, int scrollBarWidth,
                    const WindowFrame& frame = MainWindowFrame());
// Where the row's component sits in its parent's client area: a page fills
// its tab control below the tab row, and the components on a page are placed
// from the page's corner at the top of its content (scrolled to the top).
// The components below the pages move up by the cut.
Geometry PlacedGeometry(const ComponentRow& row, const WindowFit& fit);
// The height of a page's content at the DPI, which scrolls where the page
// is shorter.
int PageContentHeight(int dpi);

// Components in creation order; among siblings a later one lies in front.
const std::vector<ComponentRow>& MainWindowLayout();

// A window as the desktops build it: its frame and its components.
struct WindowDescription {
    const WindowFrame& frame;
    const std::vector<ComponentRow>& layout;
};

WindowDescription MainWindowDescription();

} // namespace orvane
