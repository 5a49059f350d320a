#pragma once

#include <cstdint>

namespace orvane {

class Window;

// "窗口置顶": follows the box's new state.
void OnTopmostClicked(Window& window);

// Ticking brings the window to the front and above all others; unticking
// returns it to the normal band without activating it.
void SetWindowTopmost(std::uintptr_t handle, bool on);

// "停止/恢复 底部时间": stops the clock at 900 ms, otherwise restarts it.
void OnTimeDisplayToggleClicked(Window& window);

} // namespace orvane
