#pragma once

class QApplication;

namespace orvane {

// The style and default font the window is laid out for: Fusion, and the
// 12-pixel CJK face that Windows' default Chinese UI font measures.
void ApplyDesktopLook(QApplication& app);

} // namespace orvane
