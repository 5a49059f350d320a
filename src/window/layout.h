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

// Components in creation order; among siblings a later one lies in front.
const std::vector<ComponentRow>& MainWindowLayout();

} // namespace orvane
