#pragma once

#include <cstddef>
#include <string>
#include <windows.h>

namespace orvane {

// Makes the edit box hold one line of at most `limit` bytes of ANSI text:
// typing past the limit is refused (deleting is always allowed), and a paste
// keeps the first line and what fits, remembering what it left out.
void MakeFieldEdit(HWND edit, std::size_t limit);

// What the box's last paste left out, while it still shows what that paste
// left; else empty.
std::string PasteNoteOf(HWND edit);

} // namespace orvane
