#pragma once

#include "runtime/result.h"
#include "typing/hot_key.h"
#include "typing/keyboard.h"

#include <functional>
#include <memory>
#include <string>

namespace orvane {

class Window;

// Typing into other programs, as each desktop allows it. Each desktop's
// library implements these.

// Takes `key` for the whole desktop, in place of any key taken before;
// `pressed` runs on the window's thread, under the handlers' guard, each
// time the key goes down (not for its repeats). Refused when another
// program holds the key, the keyboard cannot give it, or the desktop allows
// no global keys. `changed` runs there when the key taken stops being in
// force, or is again (the keyboard's layout changed), with the reason.
Result<> GrabHotKey(Window& window, const HotKey& key, const std::function<void()>& pressed,
                    const std::function<void(const Result<>&)>& changed);
// Gives the key back; before the window goes.
void ReleaseHotKey();

// The desktop's keyboard, for typing into the window of another program
// that has the focus; none where the desktop allows no synthetic typing.
std::unique_ptr<Keyboard> OpenKeyboard(Window& window);

} // namespace orvane
