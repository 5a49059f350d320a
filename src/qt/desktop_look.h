#pragma once

class QApplication;

namespace orvane {

// The style and default font the window is laid out for: Fusion, and the
// 12-pixel CJK face that Windows' default Chinese UI font measures.
void ApplyDesktopLook(QApplication& app);
// The default font at the DPI the window is laid out at: what has no font of
// its own (message boxes, tooltips, most components) is 9 pt there.
void SetTextDpi(int dpi);

} // namespace orvane
