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

// The DPI to lay the window out at on a screen of `dpi` whose work area is
// `workHeight` pixels high, with a frame (title bar and borders) of
// `frameHeight`: the screen's own, or less where that would not fit, but
// never less than the table's own (whose fonts are 9 pt).
int FittingDpi(int dpi, int workHeight, int frameHeight);
// Where the row's component sits in its parent's client area at the DPI: a
// page fills its tab control below the tab row, and the components on a
// page are placed from the tab control's corner, as the table gives them.
Geometry PlacedGeometry(const ComponentRow& row, int dpi);

// Components in creation order; among siblings a later one lies in front.
const std::vector<ComponentRow>& MainWindowLayout();

} // namespace orvane
