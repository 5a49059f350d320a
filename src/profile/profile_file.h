#pragma once

#include "files/file_access.h"
#include "profile_format.h"
#include "text/text_encoding.h"

#include <optional>
#include <string>

namespace orvane {

// One-item access to INI profile files on disk: each read takes the file
// afresh, each write replaces it whole. Paths, sections, keys and values
// are ANSI text.

inline constexpr size_t kProfileValueLimit = 10239;

// The item's value, cut to kProfileValueLimit bytes and at its first zero
// byte. A missing or unreadable file, section or key gives the default
// without its trailing spaces; a path, section or key that is empty after
// leading blanks and control bytes gives "".
std::string ReadProfileItem(const std::string& file, const std::string& section,
                            const std::string& key,
                            const std::optional<std::string>& fallback = std::nullopt);

// The largest profile file that is read: far above any real one (25
// applicants take under 2 KiB), small enough to read at once.
inline constexpr size_t kProfileFileLimit = 1 << 20;

// A profile file's text, as ANSI text whatever encoding its bytes are in;
// none when there is no file.
Result<std::optional<DecodedText>> ReadProfileText(const std::string& file);

// Replaces the file with the text in the encoding (a file keeps its own,
// and its lines that do not read in it), after removing what an
// interrupted save left (RemoveStaleSaves). A file whose encoding is
// unsure is left as it is.
Result<> ReplaceProfileText(const std::string& file, const DecodedText& text);

// Removes the temporary files an interrupted save of the file left beside
// it (they hold every applicant): those named as such that hold profile
// text. A file a person named stays, whatever it holds.
void RemoveStaleSaves(const std::string& file);

// A profile file read and parsed once for many items: its items, or none
// when it is missing.
Result<std::optional<ProfileItems>> ReadProfileFile(const std::string& file);

// Answers as ReadProfileItem does; no items count as a missing file.
std::string ProfileItemIn(const std::optional<ProfileItems>& items, const std::string& section,
                          const std::string& key,
                          const std::optional<std::string>& fallback = std::nullopt);

// Sets one item, creating the file (in ANSI) and section when needed, and
// replaces the file in one atomic step, in the file's encoding. A file
// that is there but cannot be read is left as it is, and so is every file
// when the section, key or value holds a line break or a NUL.
Result<> WriteProfileItem(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& value);
// The same for several items, in one write.
Result<> WriteProfileItems(const std::string& file, const std::vector<ProfileItem>& items);

} // namespace orvane
