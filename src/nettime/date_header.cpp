#include "date_header.h"

#include "text/text.h"

namespace orvane {

std::optional<std::string> HeaderNamed(const std::string& headers, const std::string& upperName) {
    for (const std::string& line : SplitText(headers, "\r\n")) {
        size_t colon = line.find(':');
        if (colon != std::string::npos &&
            ToUpperCase(TrimSpaces(line.substr(0, colon))) == upperName) {
            return TrimSpaces(line.substr(colon + 1));
        }
    }
    return std::nullopt;
}

std::optional<std::string> DateHeaderValue(const std::string& headers) {
    return HeaderNamed(headers, "DATE");
}

} // namespace orvane
