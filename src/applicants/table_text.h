#pragma once

#include <string>
#include <vector>

namespace orvane {

// One non-blank line of a pasted table: its 1-based number and its fields,
// blanks (space, tab, vertical tab) around each dropped. Fields are
// separated by tabs when the line has one, as a spreadsheet copies them,
// else by commas (ASCII or full-width); an empty last cell counts.
struct TableLine {
    int number = 0;
    std::vector<std::string> fields;
};

std::vector<TableLine> ReadTableLines(const std::string& table);

} // namespace orvane
