#pragma once

#include <cstddef>
#include <string>

namespace orvane {

// What a paste into a field keeps: the first line of the pasted text (a
// spreadsheet cell ends in a line break, which goes), without NUL bytes, cut
// at a character boundary to the room the field has left. When more lines or
// more text were left out, the note says so, for the field's finding.
struct FittedPaste {
    std::string text;
    std::string note;
};
FittedPaste FitPaste(const std::string& pasted, std::size_t room);

} // namespace orvane
