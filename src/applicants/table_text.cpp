#include "table_text.h"

#include "text/text.h"

#include <algorithm>

namespace orvane {

namespace {

// "，" in GB18030, spelled as bytes so that every compiler reads it alike.
const std::string kFullWidthComma = "\xA3\xAC";

// The pieces between separator bytes, the last one after the final
// separator included. Tab, comma, CR and LF are never part of a
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

void ForEachTableLine(const std::string& table, const std::function<void(TableLine)>& visit) {
    int number = 0;
    size_t start = 0;
    while (start < table.size()) {
        size_t end = std::min(table.find_first_of("\r\n", start), table.size());
        std::string line = table.substr(start, end - start);
        line.erase(std::remove(line.begin(), line.end(), '\0'), line.end());
        ++number;
        if (!TrimBlanks(line).empty()) {
            visit({number, Fields(line)});
        }
        start = end + (table.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

std::vector<TableLine> ReadTableLines(const std::string& table) {
    std::vector<TableLine> lines;
    ForEachTableLine(table, [&lines](TableLine line) { lines.push_back(std::move(line)); });
    return lines;
}

} // namespace orvane
