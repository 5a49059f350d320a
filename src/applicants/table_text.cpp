#include "table_text.h"

#include "runtime/text.h"

namespace orvane {

namespace {

// "，" in GB18030, spelled as bytes so that every compiler reads it alike.
const std::string kFullWidthComma = "\xA3\xAC";

// The pieces between separator bytes, the last one after the final
// separator included. Tab, comma and line feed are never part of a
// double-byte character, so a byte search finds them.
std::vector<std::string> Pieces(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    size_t start = 0;
    for (size_t end = text.find(separator); end != std::string::npos;
         end = text.find(separator, start)) {
        pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

std::vector<std::string> Fields(const std::string& line) {
    bool tabs = line.find('\t') != std::string::npos;
    std::string source =
        tabs ? line : ReplaceSubtext(line, kFullWidthComma, ",", std::nullopt, std::nullopt, true);
    std::vector<std::string> fields = Pieces(source, tabs ? '\t' : ',');
    for (std::string& field : fields) {
        field = TrimBlanks(field);
    }
    return fields;
}

} // namespace

std::vector<TableLine> ReadTableLines(const std::string& table) {
    std::vector<TableLine> lines;
    std::vector<std::string> pieces = Pieces(table, '\n');
    for (size_t at = 0; at < pieces.size(); ++at) {
        std::string line = pieces[at];
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!TrimBlanks(line).empty()) {
            lines.push_back({int(at) + 1, Fields(line)});
        }
    }
    return lines;
}

} // namespace orvane
