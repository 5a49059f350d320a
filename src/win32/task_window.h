#pragma once

#include <windows.h>

namespace orvane {

// The hidden window whose thread runs the tasks posted to the window's
// thread; the window makes it first, on its own thread.
HWND TaskWindow();

} // namespace orvane
