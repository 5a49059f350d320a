#pragma once

#include "runtime/result.h"
#include "typing/hot_key.h"

#include <functional>
#include <optional>
#include <string>
#include <xcb/xcb.h>

namespace orvane {

// The global hot key on an X server: grabbed on the root window over Qt's
// connection to it, its presses read on Qt's event loop. When the key map
// changes (another layout), the key is grabbed at its new key code. One
// key at a time.

// Grabs the key in place of the key grabbed before; `pressed` is posted to
// the window's thread at each press, `changed` runs there when a new layout
// takes the key out of force or puts it back.
Result<> GrabXHotKey(xcb_connection_t* connection, const HotKey& key,
                     const std::function<void()>& pressed,
                     const std::function<void(const Result<>&)>& changed);
void ReleaseXHotKey();

// The key code the key is grabbed at in the layout in force: the key that
// gives it, else the key that carries it on a US keyboard; 0 for none.
xcb_keycode_t HotKeyCode(xcb_connection_t* connection, const HotKey& key);

} // namespace orvane
