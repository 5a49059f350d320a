#pragma once

namespace orvane {

class Window;

// "窗口置顶": ticked keeps the window above all others, unticked returns it
// to the normal band.
void OnTopmostClicked(Window& window);

// "停止/恢复 底部时间": stops the clock at 900 ms, otherwise restarts it.
void OnTimeDisplayToggleClicked(Window& window);

} // namespace orvane
