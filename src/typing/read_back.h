#pragma once

#include <string>

namespace orvane {

// Whether a box that held `before` and was typed `sent` holds it now: the
// sent text after what it held, or in its place (a box whose text is
// selected when it gets the focus). Blanks and hyphens do not count, as a
// page may add them to a number it shows in groups; nothing else may
// differ. ANSI text.
bool ReadsBackAs(const std::string& before, const std::string& sent, const std::string& now);

// Whether a box holds anything but blanks.
bool HoldsText(const std::string& text);

} // namespace orvane
