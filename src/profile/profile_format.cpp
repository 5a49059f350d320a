#include "profile_format.h"

#include "text/text.h"

#include <algorithm>
#include <map>
#include <string_view>
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

// The first section of each name (ASCII letters upper-cased), where its
// last line is, and where the first line of each of its keys is.
struct SectionLines {
    size_t last = 0;
    std::map<std::string, size_t> keys;
};

std::map<std::string, SectionLines> IndexSections(const std::string& content,
                                                  const std::vector<Line>& lines) {
    std::map<std::string, SectionLines> sections;
    SectionLines* current = nullptr;
    for (size_t i = 0; i < lines.size(); ++i) {
        ParsedLine parsed = Parse(content.substr(lines[i].begin, lines[i].end - lines[i].begin));
        if (parsed.kind == LineKind::Section) {
            auto [section, isNew] =
                sections.try_emplace(ToUpperCase(parsed.name), SectionLines{i, {}});
            current = isNew ? &section->second : nullptr; // only the first of a name counts
        } else if (current != nullptr && parsed.kind == LineKind::Key) {
            current->last = i;
            current->keys.try_emplace(ToUpperCase(parsed.name), i);
        }
    }
    return sections;
}

// Keys to add, in the order given; a key given again takes the later value.
struct NewKeys {
    std::string section; // as the first item spelled it
    std::vector<std::pair<std::string, std::string>> entries;
    void Add(const std::string& key, const std::string& value) {
        for (auto& entry : entries) {
            if (ToUpperCase(entry.first) == ToUpperCase(key)) {
                entry.second = value;
                return;
            }
        }
        entries.emplace_back(key, value);
    }
    std::string Text() const {
        std::string text;
        for (const auto& [key, value] : entries) {
            text.append(key).append("=").append(value).append(kNewLine);
        }
        return text;
    }
};

void EndLine(std::string& text) {
    if (!text.empty() && text.back() != '\n' && text.back() != '\r') {
        text += kNewLine;
    }
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
    return SetProfileValues(content, {{section, key, value}});
}

std::string SetProfileValues(const std::string& content, const std::vector<ProfileItem>& items) {
    std::vector<Line> lines = SplitLines(content);
    std::map<std::string, SectionLines> sections = IndexSections(content, lines);
    std::map<size_t, std::string> rewritten; // a key's line, as it now reads
    std::map<size_t, NewKeys> after;         // keys new to a section, after its last line
    std::vector<NewKeys> added;              // new sections, in order
    for (const ProfileItem& item : items) {
        std::string sectionName = TrimBlanks(item.section);
        std::string keyName = TrimBlanks(item.key);
        auto section = sections.find(ToUpperCase(sectionName));
        if (section == sections.end()) {
            auto same = std::find_if(added.begin(), added.end(), [&](const NewKeys& keys) {
                return ToUpperCase(keys.section) == ToUpperCase(sectionName);
            });
            if (same == added.end()) {
                same = added.insert(added.end(), NewKeys{sectionName, {}});
            }
            same->Add(keyName, item.value);
            continue;
        }
        auto line = section->second.keys.find(ToUpperCase(keyName));
        if (line == section->second.keys.end()) {
            after[section->second.last].Add(keyName, item.value);
            continue;
        }
        const Line& at = lines[line->second];
        std::string spelling = Parse(content.substr(at.begin, at.end - at.begin)).name;
        rewritten[line->second] = spelling + "=" + item.value;
    }
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        auto body = rewritten.find(i);
        text += body == rewritten.end()
                    ? content.substr(lines[i].begin, lines[i].next - lines[i].begin)
                    : body->second + content.substr(lines[i].end, lines[i].next - lines[i].end);
        if (auto keys = after.find(i); keys != after.end()) {
            EndLine(text);
            text += keys->second.Text();
        }
    }
    for (const NewKeys& keys : added) {
        EndLine(text);
        text += "[" + keys.section + "]" + kNewLine + keys.Text();
    }
    return text;
}

namespace {

// The name a line gives, as bytes: a section's between its brackets, a
// key's before its "="; none for a comment or any other line.
std::string_view NameIn(std::string_view line) {
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos || line[start] == ';' || line[start] == '#') {
        return {};
    }
    size_t end = line[start] == '[' ? line.find(']', start) : line.find('=', start);
    start += line[start] == '[' ? 1 : 0;
    return end == std::string_view::npos ? std::string_view() : line.substr(start, end - start);
}

} // namespace

DecodedText DecodeProfileText(const std::string& bytes) {
    if (LikelyEncoding(bytes) == TextEncoding::Utf8WithBom) {
        return DecodeText(bytes, TextEncoding::Utf8WithBom);
    }
    int utf8 = 0;
    int ansi = 0;
    for (size_t at = 0; at < bytes.size();) {
        size_t end = std::min(bytes.find('\n', at), bytes.size());
        std::string_view name = NameIn(std::string_view(bytes).substr(at, end - at));
        utf8 += ReadsAsUtf8Only(name) ? 1 : 0;
        ansi += ReadsAsGbkOnly(name) ? 1 : 0;
        at = end + 1;
    }
    if (utf8 != ansi) {
        return DecodeText(bytes, utf8 > ansi ? TextEncoding::Utf8 : TextEncoding::Ansi);
    }
    DecodedText text = DecodeText(bytes);
    text.sure = text.sure && utf8 == 0;
    return text;
}

} // namespace orvane
