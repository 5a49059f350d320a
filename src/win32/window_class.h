#pragma once

#include <windows.h>

namespace orvane {

// Registers a window class of the program's, in the dialog colour with the
// arrow cursor; again for the same name does nothing.
void RegisterWindowClass(const wchar_t* name, WNDPROC procedure);

} // namespace orvane
