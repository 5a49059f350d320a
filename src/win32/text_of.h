#pragma once

#include <string>
#include <windows.h>

namespace orvane {

// A control's text as ANSI text.
std::string TextOf(HWND control);

} // namespace orvane
