#include "profile_format.h"

#include "text.h"

#include <map>
#include <vector>

namespace orvane {

namespace {

const std::string kNewLine = "\r\n";

struct Line {
    size_t begin = 0; // first byte of the line
    size_t end = 0;   // first byte of its line break
    size_t next = 0;  // first byte of the next line
};

std::vector<Line> SplitLines(const std::string& content) {
    std::vector<Line> lines;
    size_t at = 0;
    while (at < content.size()) {
        size_t end = content.find_first_of("\r\n", at);
        if (end == std::string::npos) {
            lines.push_back({at, content.size(), content.size()});
            break;
        }
        size_t next = end + (content.compare(end, 2, kNewLine) == 0 ? 2 : 1);
        lines.push_back({at, end, next});
        at = next;
    }
    return lines;
}

// Offset of a single-byte character outside double-byte characters; npos
// when absent.
size_t FindChar(const std::string& text, char wanted) {
    int at = FindSubtext(text, std::string(1, wanted));
    return at == -1 ? std::string::npos : size_t(at - 1);
}

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// ASCII letters match regardless of case; double-byte characters exactly.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t at = 0; at < a.size(); ++at) {
        if (IsLeadByte(a[at])) {
            if (a.compare(at, 2, b, at, 2) != 0) {
                return false;
            }
            ++at;
        } else if (AsciiUpper(a[at]) != AsciiUpper(b[at])) {
            return false;
        }
    }
    return true;
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string name; // section or key, trimmed
    std::string value;
};

ParsedLine Parse(const std::string& raw) {
    std::string line = TrimBlanks(raw);
    if (line.empty() || line[0] == ';') {
        return {};
    }
    if (line[0] == '[') {
        size_t close = FindChar(line, ']');
        if (close != std::string::npos) {
            return {LineKind::Section, TrimBlanks(line.substr(1, close - 1)), {}};
        }
    }
    size_t equals = FindChar(line, '=');
    if (equals == std::string::npos) {
        return {};
    }
    return {LineKind::Key, TrimBlanks(line.substr(0, equals)), TrimBlanks(line.substr(equals + 1))};
}

std::string Unquote(const std::string& value) {
    bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                  value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

// Where a section's lines are, and where a key sits in it.
struct Place {
    bool sectionFound = false;
    size_t lastLineOfSection = 0; // index of its header or last key line
    std::optional<size_t> keyLine;
};

Place Locate(const std::string& content, const std::vector<Line>& lines, const std::string& section,
             const std::string& key) {
    Place place;
    bool inside = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        ParsedLine parsed = Parse(content.substr(lines[i].begin, lines[i].end - lines[i].begin));
        if (parsed.kind == LineKind::Section) {
            if (place.sectionFound) {
                break; // only the first section of the name counts
            }
            inside = SameName(parsed.name, section);
            place.sectionFound = inside;
            place.lastLineOfSection = i;
        } else if (inside && parsed.kind == LineKind::Key) {
            place.lastLineOfSection = i;
            if (!place.keyLine && SameName(parsed.name, key)) {
                place.keyLine = i;
            }
        }
    }
    return place;
}

// The content up to the end of a line, with a line break after it.
std::string UpToLineEnd(const std::string& content, const Line& line) {
    std::string head = content.substr(0, line.next);
    return line.next == line.end ? head + kNewLine : head;
}

} // namespace

ProfileItems::ProfileItems(const std::string& content) {
    std::map<std::string, std::string>* current = nullptr;
    for (const Line& line : SplitLines(content)) {
        ParsedLine parsed = Parse(content.substr(line.begin, line.end - line.begin));
        if (parsed.kind == LineKind::Section) {
            auto [section, isNew] = sections_.try_emplace(ToUpperCase(parsed.name));
            current = isNew ? &section->second : nullptr; // only the first of a name counts
        } else if (current != nullptr && parsed.kind == LineKind::Key) {
            current->try_emplace(ToUpperCase(parsed.name), Unquote(parsed.value));
        }
    }
}

std::optional<std::string> ProfileItems::Find(const std::string& section,
                                              const std::string& key) const {
    auto keys = sections_.find(ToUpperCase(TrimBlanks(section)));
    if (keys == sections_.end()) {
        return std::nullopt;
    }
    auto value = keys->second.find(ToUpperCase(TrimBlanks(key)));
    return value == keys->second.end() ? std::nullopt : std::optional(value->second);
}

std::string ProfileValueText(const std::string& value) {
    bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                  value.back() == value.front();
    return quoted || TrimBlanks(value) != value ? "\"" + value + "\"" : value;
}

bool FitsOneLine(const std::string& text) {
    return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

bool IsProfileText(const std::string& content) {
    for (const Line& line : SplitLines(content)) {
        std::string text = TrimBlanks(content.substr(line.begin, line.end - line.begin));
        bool ended = line.next > line.end; // one without its break may be cut short
        if (ended && !text.empty() && text[0] != ';' && Parse(text).kind == LineKind::Other) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> FindProfileValue(const std::string& content, const std::string& section,
                                            const std::string& key) {
    return ProfileItems(content).Find(section, key);
}

std::string SetProfileValue(const std::string& content, const std::string& section,
                            const std::string& key, const std::string& value) {
    std::string sectionName = TrimBlanks(section);
    std::string keyName = TrimBlanks(key);
    std::vector<Line> lines = SplitLines(content);
    Place place = Locate(content, lines, sectionName, keyName);
    if (place.keyLine) {
        const Line& line = lines[*place.keyLine];
        std::string raw = content.substr(line.begin, line.end - line.begin);
        std::string spelling = Parse(raw).name;
        return content.substr(0, line.begin) + spelling + "=" + value + content.substr(line.end);
    }
    std::string entry = keyName + "=" + value + kNewLine;
    if (place.sectionFound) {
        const Line& after = lines[place.lastLineOfSection];
        return UpToLineEnd(content, after) + entry + content.substr(after.next);
    }
    std::string head = content;
    if (!lines.empty() && lines.back().next == lines.back().end) {
        head += kNewLine;
    }
    return head + "[" + sectionName + "]" + kNewLine + entry;
}

} // namespace orvane
