#pragma once

#include "typing/hot_key.h"

#include <functional>
#include <optional>
#include <string>

namespace orvane {

// The global hot key on an X server: grabbed on the root window over a
// connection of its own, whose thread posts each press to the window's
// thread. One key at a time.

// Grabs the key on the display the environment names, in place of the key
// grabbed before. Returns why it could not, in words for the user.
std::optional<std::string> GrabXHotKey(const HotKey& key, const std::function<void()>& pressed);
void ReleaseXHotKey();

} // namespace orvane
