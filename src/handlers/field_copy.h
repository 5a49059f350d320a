#pragma once

#include <string>

namespace orvane {

class Window;

// Puts the field's text, without blanks at its ends, on the clipboard and,
// once it is there, greys its copy button out: the button's enabled state
// is the field's only "used" mark.
void CopyField(Window& window, int group, const std::string& key);

// Enables the group's three copy buttons again.
void RestoreGroup(Window& window, int group);

} // namespace orvane
