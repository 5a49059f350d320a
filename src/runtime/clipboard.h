#pragma once

#include <string>

// Replaces the system clipboard's content with the ANSI text, offered to
// other programs as plain Unicode text. False when there is no clipboard.
bool SetClipboardText(const std::string& text);
