#pragma once

#include <string>

namespace orvane {

// Replaces the system clipboard's content with the ANSI text, offered to
// other programs as plain Unicode text and marked as secret, so that
// clipboard managers and the desktop's clipboard history do not keep it.
// False when there is no clipboard.
bool SetClipboardText(const std::string& text);

// The clipboard's plain text as ANSI text; empty when it holds none.
std::string GetClipboardText();

} // namespace orvane
