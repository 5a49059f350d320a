#include "date_header.h"

#include "runtime/text.h"

namespace orvane {

std::optional<std::string> DateHeaderValue(const std::string& headers) {
    for (const std::string& line : SplitText(headers, "\r\n")) {
        size_t colon = line.find(':');
        if (colon != std::string::npos &&
            ToUpperCase(TrimSpaces(line.substr(0, colon))) == "DATE") {
            return TrimSpaces(line.substr(colon + 1));
        }
    }
    return std::nullopt;
}

} // namespace orvane
