#pragma once

#include <functional>
#include <string>
#include <windows.h>

namespace orvane {

// Gives the edit box a context menu in Chinese: the standard edit entries,
// then `caption`, which runs the handler.
void AddContextEntry(HWND edit, const std::string& caption, std::function<void()> handler);

} // namespace orvane
