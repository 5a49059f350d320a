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
// the window's thread at each press.
Result<> GrabXHotKey(xcb_connection_t* connection, const HotKey& key,
                     const std::function<void()>& pressed);
void ReleaseXHotKey();

} // namespace orvane
