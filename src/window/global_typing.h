#pragma once

#include "typing/hot_key.h"
#include "typing/typing_sequence.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

class Window;

// Typing into other programs, as each desktop allows it. Each desktop's
// library implements these.

// Takes `key` for the whole desktop, in place of any key taken before;
// `pressed` runs on the window's thread at each press. Returns why the key
// could not be taken (another program holds it, or the desktop allows no
// global keys), in words for the user, or nothing.
std::optional<std::string> GrabHotKey(Window& window, const HotKey& key,
                                      const std::function<void()>& pressed);
// Gives the key back; before the window goes.
void ReleaseHotKey();

// How typing ended.
enum class TypingResult {
    Typed,
    OwnWindow,    // the focus was in this program: nothing typed
    NoFocus,      // no window had the keyboard focus: nothing typed
    FocusChanged, // the focus moved part way: typing stopped there
    Unavailable,  // the desktop allows no synthetic input
};

// Types the strokes (text and keys, as FilledStrokes gives them) into the
// window that has the keyboard focus, as keys pressed one after another,
// after releasing the modifier keys still held. Runs off the window's
// thread; `done` runs on it with the result.
void TypeIntoFocus(Window& window, std::vector<Stroke> strokes,
                   std::function<void(TypingResult)> done);

} // namespace orvane
