#pragma once

#include <cstddef>
#include <windows.h>

namespace orvane {

// Refuses typing and pasting that would take the edit box past `limit`
// bytes of ANSI text; deleting is always allowed.
void LimitToAnsiBytes(HWND edit, std::size_t limit);

} // namespace orvane
