#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace orvane {

// Replaces the system clipboard's content with the ANSI text, offered to
// other programs as plain Unicode text and marked as secret, so that
// clipboard managers and the desktop's clipboard history do not keep it.
// False when there is no clipboard.
bool SetClipboardText(const std::string& text);

// The most text a read of the clipboard takes.
inline constexpr std::size_t kClipboardLimit = std::size_t(64) << 20;

// Reads the clipboard's plain text as ANSI text without ever holding the
// window: the answer runs on the window's thread with the text (empty when
// the clipboard holds none), or with nothing when the program that owns the
// clipboard did not hand it over within a second, or handed over more than
// kClipboardLimit.
void ReadClipboardText(std::function<void(std::optional<std::string>)> answer);

// Told when a read gave nothing.
extern const std::string kClipboardSilent;

} // namespace orvane
