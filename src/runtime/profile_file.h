#pragma once

#include <optional>
#include <string>

// One-item access to INI profile files on disk, in place of the Windows
// private-profile functions. Paths, sections, keys and values are ANSI text.

inline constexpr size_t kProfileValueLimit = 10239;

// The item's value, cut to kProfileValueLimit bytes. A missing file, section
// or key gives the default without its trailing spaces; a path, section or
// key that is empty after leading blanks and control bytes gives "".
std::string ReadProfileItem(const std::string& file, const std::string& section,
                            const std::string& key,
                            const std::optional<std::string>& fallback = std::nullopt);

// The bytes of a profile file, read once for many items; nothing when it
// cannot be read. ProfileItemIn answers as ReadProfileItem does.
std::optional<std::string> ReadProfileFile(const std::string& file);
std::string ProfileItemIn(const std::optional<std::string>& content, const std::string& section,
                          const std::string& key,
                          const std::optional<std::string>& fallback = std::nullopt);

// Sets one item, creating the file and section when needed. The file is
// replaced in one atomic step, so a failure leaves it as it was.
bool WriteProfileItem(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& value);

// Replaces the whole file atomically: a temporary file in the same folder is
// written, flushed and renamed over it. A new file is private to its owner;
// an existing one keeps its permissions, and one without write permission is
// refused. Returns why it failed, in words for the user, or nothing.
std::optional<std::string> ReplaceFileContent(const std::string& file, const std::string& content);
