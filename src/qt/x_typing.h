#pragma once

#include "typing/typing_sequence.h"
#include "window/global_typing.h"

#include <vector>

namespace orvane {

// Types the strokes, their text in UTF-8, into the X server's focused
// window through XTEST, on a connection of its own and the calling thread:
// a character the keyboard has no key for is given a spare key code for the
// moment it is typed. Nothing is typed into `ownWindow` or its children.
TypingResult TypeIntoXFocus(const std::vector<Stroke>& strokes, unsigned long ownWindow);

} // namespace orvane
