#pragma once

#include <functional>
#include <string>
#include <vector>

namespace orvane {

// One non-blank line of a pasted table: its 1-based number and its fields,
// blanks (space, tab, vertical tab) around each dropped. Lines end in CR LF,
// LF or CR, so no field ever holds a line break; NUL bytes are dropped.
// Fields are separated by tabs when the line has one, as a spreadsheet
// copies them, else by commas (ASCII or full-width); an empty last cell
// counts.
struct TableLine {
    int number = 0;
    std::vector<std::string> fields;
};

// Each line in turn, without holding the whole table's fields at once.
void ForEachTableLine(const std::string& table, const std::function<void(TableLine)>& visit);
std::vector<TableLine> ReadTableLines(const std::string& table);

} // namespace orvane
