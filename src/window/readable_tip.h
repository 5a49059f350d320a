#pragma once

#include <string>

namespace orvane {

// A tooltip as a person reads it: at most a few lines, each at most a line
// of the window's width; what is cut says so, with the whole text's length.
// Both desktops show findings and the status bar's tips through it.
std::string ReadableTip(const std::string& tip);

} // namespace orvane
