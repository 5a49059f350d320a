#pragma once

#include "applicants.h"
#include "runtime/result.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

// A table pasted into the groups from a given one on: lines of three fields
// (姓名, 身份证, 手机号) separated by tabs, as a spreadsheet copies them, or
// by commas.
struct TablePaste {
    int firstGroup = 1;
    std::vector<std::array<std::string, kFieldCount>> rows; // for firstGroup on
    std::vector<int> overwritten;                           // groups among them that hold text now
    int leftOut = 0;                                        // lines past the last group
};

// Reads the table (see table_text.h) and what it would do to the
// applicants; refused whole when a line cannot be written (the wrong
// number of fields, a field too long for its box).
Result<TablePaste> PlanTablePaste(const std::string& table, int firstGroup,
                                  const Applicants& current);

// The question that asks the user to confirm the paste.
std::string TablePasteQuestion(const TablePaste& paste);

// Writes the planned rows into the applicants.
void ApplyTablePaste(const TablePaste& paste, Applicants& applicants);

} // namespace orvane
