#include "readable_tip.h"

#include "text/ansi_literals.h"
#include "text/text.h"

namespace orvane {

namespace {

constexpr size_t kMostLines = 6;
constexpr size_t kMostCharacters = 80; // a line's

size_t CharacterCount(const std::string& text) {
    size_t count = 0;
    for (size_t at = 0; at < text.size(); at += CharacterLength(text, at)) {
        ++count;
    }
    return count;
}

// The line cut after the most characters; whether it was.
bool CutLine(std::string& line) {
    size_t at = 0;
    for (size_t count = 0; at < line.size() && count < kMostCharacters; ++count) {
        at += CharacterLength(line, at);
    }
    if (at >= line.size()) {
        return false;
    }
    line = line.substr(0, at) + "…";
    return true;
}

} // namespace

std::string ReadableTip(const std::string& tip) {
    std::string readable;
    bool cut = false;
    size_t lines = 0;
    for (size_t at = 0; at <= tip.size();) {
        size_t end = tip.find('\n', at);
        std::string line = tip.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? tip.size() + 1 : end + 1;
        if (lines == kMostLines) {
            cut = true;
            break;
        }
        cut = CutLine(line) || cut;
        readable += (lines++ == 0 ? "" : "\n") + line;
    }
    return cut ? readable + "\n（原文共 " + std::to_string(CharacterCount(tip)) +
                     " 个字，这里只显示一部分）"
               : readable;
}

} // namespace orvane
