#pragma once

#include <cstdint>

namespace orvane {

// The two calls that keep a window on top, with the arguments the keep-on-top
// option passes. A window is named by its native handle, as WindowHandle
// gives it.

inline constexpr std::intptr_t kHwndTopmost = -1;
inline constexpr std::intptr_t kHwndNotTopmost = -2;
inline constexpr unsigned kSwpNoSize = 0x1;
inline constexpr unsigned kSwpNoMove = 0x2;

// Moves the window into the topmost band (kHwndTopmost) or out of it
// (kHwndNotTopmost) without activating it. Only the band is changed: the
// window keeps its place and size whatever the other arguments say. False
// when no window of the program has that handle.
bool SetWindowPos(std::uintptr_t window, std::intptr_t insertAfter, int x, int y, int width,
                  int height, unsigned flags);

// Brings the window to the front and activates it.
bool SetForegroundWindow(std::uintptr_t window);

} // namespace orvane
