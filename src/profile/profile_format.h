#pragma once

#include "text/text_encoding.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// The text of an INI profile file in the Windows format that users' other
// tools read and write. Pure functions on the file's bytes (ANSI text);
// profile_file.h does the disk work.
//
// Reading: lines end in CR LF, LF or CR; blanks (space, tab, vertical tab)
// at either end of a line are ignored; "[name]" starts a section, ";" a comment, and a key
// line splits at its first "=". ASCII letters in names match regardless of
// case. The first section of a name wins. One outer pair of matching quotes
// is removed from a value. Double-byte characters are stepped over whole,
// so their second byte is never taken for "[", "]", "=" or a letter.

// A file's items, parsed once for many look-ups.
class ProfileItems {
public:
    explicit ProfileItems(const std::string& content);
    // The key's value, or nothing when the section or key is missing.
    std::optional<std::string> Find(const std::string& section, const std::string& key) const;

private:
    // Names with ASCII letters upper-cased: the first section of each name,
    // and in it the first key of each name.
    std::map<std::string, std::map<std::string, std::string>> sections_;
};

// The key's value, or nothing when the section or key is missing.
std::optional<std::string> FindProfileValue(const std::string& content, const std::string& section,
                                            const std::string& key);

// The value as it is written after "=": in double quotes when the reader
// would otherwise drop blanks at its ends or a pair of quotes around it, so
// that it reads back exactly.
std::string ProfileValueText(const std::string& value);

// Whether a text can be written into a line: no CR, LF or NUL.
bool FitsOneLine(const std::string& text);

// Whether the content is what a profile writer writes: each line blank, a
// comment, a "[section]" or a key with "="; the last may be cut short (a
// write that stopped part way).
bool IsProfileText(const std::string& content);

// The content with key=value set: an existing line is rewritten in place
// (keeping its spelling of the key), a new key goes after the last key of
// its section, a new section at the end. Every other byte stays.
std::string SetProfileValue(const std::string& content, const std::string& section,
                            const std::string& key, const std::string& value);

// One item to set, its value as it is written after "=".
struct ProfileItem {
    std::string section;
    std::string key;
    std::string value;
};
// The content with every item set as SetProfileValue sets one, in the
// order given, the content's lines read once.
std::string SetProfileValues(const std::string& content, const std::vector<ProfileItem>& items);

// A profile file's text, its encoding told by its section and key names:
// the encoding in which more of them read as text and not in the other (a
// byte-order mark decides for UTF-8). With names that tell nothing, the
// likely encoding; with as many each way, the file is unsure.
DecodedText DecodeProfileText(const std::string& bytes);

} // namespace orvane
