// Any clipboard text read as a pasted table: nothing may crash, lines come
// in order, and no field keeps a separator or a line break.
#include "applicants/table_text.h"

#include "fuzz_check.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::string table(reinterpret_cast<const char*>(bytes), size);
    int previous = 0;
    for (const TableLine& line : ReadTableLines(table)) {
        Check(line.number > previous);
        previous = line.number;
        Check(!line.fields.empty());
        for (const std::string& field : line.fields) {
            Check(field.find_first_of("\t\n") == std::string::npos);
            Check(field.empty() || (field.front() != ' ' && field.back() != ' '));
        }
    }
    return 0;
}
