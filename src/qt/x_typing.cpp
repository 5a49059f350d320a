#include "x_typing.h"

extern "C" {
#include <xdo.h>
}

#include <X11/Xlib.h>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace orvane {

namespace {

// Between two key events: enough for a program to take each in turn.
constexpr useconds_t kKeyDelay = 1500;

using Xdo = std::unique_ptr<xdo_t, decltype(&xdo_free)>;

::Window FocusedWindow(Display* display) {
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus;
}

bool Within(Display* display, ::Window start, ::Window outer) {
    for (::Window window = start; window != 0;) {
        if (window == outer) {
            return true;
        }
        ::Window root = 0;
        ::Window parent = 0;
        ::Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
            return false;
        }
        XFree(children);
        window = parent == root ? 0 : parent;
    }
    return false;
}

// One UTF-8 character of the text from `at`, and `at` past it.
std::string NextCharacter(const std::string& text, size_t& at) {
    size_t start = at++;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) {
        ++at;
    }
    return text.substr(start, at - start);
}

// The X keysym of a UTF-8 character: Latin-1 as it is, the rest as Unicode
// keysyms.
KeySym KeysymOf(const std::string& character) {
    auto byte = [&character](size_t i) { return static_cast<unsigned char>(character[i]); };
    char32_t code = character.size() == 1   ? byte(0)
                    : character.size() == 2 ? (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F)
                    : character.size() == 3
                        ? (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F)
                        : (byte(0) & 0x07) << 18 | (byte(1) & 0x3F) << 12 | (byte(2) & 0x3F) << 6 |
                              (byte(3) & 0x3F);
    return code < 0x100 ? KeySym(code) : KeySym(0x01000000 | code);
}

// Characters the keyboard has no key for, each given a key code that has no
// symbol, for as long as it lives: all before the first key is sent, and
// with time for every program to take the new map, so that no program reads
// a key before it knows what the key now means.
class SpareKeys {
public:
    SpareKeys(Display* display, const std::vector<Stroke>& strokes) : display_(display) {
        std::vector<KeySym> missing;
        for (const Stroke& stroke : strokes) {
            for (size_t at = 0; at < stroke.text.size();) {
                KeySym symbol = KeysymOf(NextCharacter(stroke.text, at));
                if (XKeysymToKeycode(display, symbol) == 0 &&
                    std::find(missing.begin(), missing.end(), symbol) == missing.end()) {
                    missing.push_back(symbol);
                }
            }
        }
        std::vector<KeyCode> free = FreeKeycodes();
        for (size_t i = 0; i < missing.size() && i < free.size(); ++i) {
            std::array<KeySym, 2> both = {missing[i], missing[i]};
            XChangeKeyboardMapping(display, free[i], 2, both.data(), 1);
            used_.push_back(free[i]);
        }
        if (!used_.empty()) {
            XSync(display, False);
            usleep(kMapSettle);
        }
    }
    ~SpareKeys() {
        if (used_.empty()) {
            return;
        }
        usleep(kMapSettle);
        std::array<KeySym, 2> none = {NoSymbol, NoSymbol};
        for (KeyCode code : used_) {
            XChangeKeyboardMapping(display_, code, 2, none.data(), 1);
        }
        XSync(display_, False);
    }
    SpareKeys(const SpareKeys&) = delete;
    SpareKeys& operator=(const SpareKeys&) = delete;

private:
    static constexpr useconds_t kMapSettle = 40000;

    std::vector<KeyCode> FreeKeycodes() const {
        int low = 0;
        int high = 0;
        XDisplayKeycodes(display_, &low, &high);
        int perCode = 0;
        KeySym* map = XGetKeyboardMapping(display_, KeyCode(low), high - low + 1, &perCode);
        std::vector<KeyCode> free;
        for (int code = high; code >= low && map != nullptr; --code) {
            KeySym* symbols = map + std::ptrdiff_t(code - low) * perCode;
            if (std::all_of(symbols, symbols + perCode, [](KeySym s) { return s == NoSymbol; })) {
                free.push_back(KeyCode(code));
            }
        }
        XFree(map);
        return free;
    }

    Display* display_;
    std::vector<KeyCode> used_;
};

} // namespace

TypingResult TypeIntoXFocus(const std::vector<Stroke>& strokes, unsigned long ownWindow) {
    std::unique_ptr<Display, decltype(&XCloseDisplay)> display(XOpenDisplay(nullptr),
                                                               &XCloseDisplay);
    int opcode = 0;
    int event = 0;
    int error = 0;
    if (!display || !XQueryExtension(display.get(), "XTEST", &opcode, &event, &error)) {
        return TypingResult::Unavailable;
    }
    SpareKeys spare(display.get(), strokes);
    // Opened once the map has every character: it reads the map at the start.
    Xdo xdo(xdo_new(nullptr), &xdo_free);
    if (!xdo) {
        return TypingResult::Unavailable;
    }
    ::Window focus = FocusedWindow(xdo->xdpy);
    if (focus == None || focus == PointerRoot) {
        return TypingResult::NoFocus;
    }
    if (Within(xdo->xdpy, focus, ownWindow)) {
        return TypingResult::OwnWindow;
    }
    // The hot key's own modifiers, still held, would turn letters into
    // shortcuts.
    charcodemap_t* held = nullptr;
    int heldCount = 0;
    xdo_get_active_modifiers(xdo.get(), &held, &heldCount);
    xdo_clear_active_modifiers(xdo.get(), CURRENTWINDOW, held, heldCount);
    std::free(held);
    for (const Stroke& stroke : strokes) {
        if (stroke.kind != Stroke::Kind::Text) {
            if (FocusedWindow(xdo->xdpy) != focus) {
                return TypingResult::FocusChanged;
            }
            xdo_send_keysequence_window(xdo.get(), CURRENTWINDOW,
                                        stroke.kind == Stroke::Kind::Tab ? "Tab" : "Return",
                                        kKeyDelay);
            continue;
        }
        for (size_t at = 0; at < stroke.text.size();) {
            if (FocusedWindow(xdo->xdpy) != focus) {
                return TypingResult::FocusChanged;
            }
            xdo_enter_text_window(xdo.get(), CURRENTWINDOW, NextCharacter(stroke.text, at).c_str(),
                                  kKeyDelay);
        }
    }
    XSync(xdo->xdpy, False);
    return TypingResult::Typed;
}

} // namespace orvane
