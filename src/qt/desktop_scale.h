#pragma once

class QScreen;

namespace orvane {

// The window lays itself out at the screen's DPI, as on Windows, and Qt
// draws one of its pixels as one of the screen's: where Qt scales, what
// assistive tools are told of a control's place is unscaled, and a
// magnifier or a tool's click lands beside it. Call before the QApplication
// is made: QT_SCALE_FACTOR is kept as the user's own scale and Qt's scaling
// is turned off.
void TakeOverScaling();

// The DPI to lay the window out at on the screen: its own (Xft.dpi on X)
// times the scale the user asked for.
int ScreenDpi(const QScreen* screen);

} // namespace orvane
