#pragma once

#include "typing/keyboard.h"

#include <string>

namespace orvane {

// Reads the box that has the keyboard focus in the foreground window of
// another program: an edit control's text as it answers WM_GETTEXT, or
// the focused object's value through its accessibility (MSAA), as browsers
// give it. Blocks while the program answers: call it off the window's
// thread, with COM initialised.
FieldText ReadFocusedBox();
// Reads again a box ReadFocusedBox found, focused or not; on the same
// thread, which keeps the last few boxes it found.
FieldText ReadBoxAgain(const std::string& field);

} // namespace orvane
