#include "paste_fit.h"

#include "text/ansi_literals.h"
#include "text/text.h"

#include <algorithm>

namespace orvane {

namespace {

// The longest prefix of whole characters within `room` bytes, and how many
// characters it holds.
std::pair<std::string, int> Cut(const std::string& text, std::size_t room) {
    std::size_t end = 0;
    int characters = 0;
    while (end < text.size()) {
        std::size_t next = end + CharacterLength(text, end);
        if (next > room) {
            break;
        }
        end = next;
        ++characters;
    }
    return {text.substr(0, end), characters};
}

} // namespace

FittedPaste FitPaste(const std::string& pasted, std::size_t room) {
    std::string text = pasted;
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    std::size_t lineEnd = text.find_first_of("\r\n");
    FittedPaste fitted;
    if (lineEnd != std::string::npos) {
        if (text.find_first_not_of("\r\n", lineEnd) != std::string::npos) {
            fitted.note = "粘贴内容有多行，只保留了第一行";
        }
        text.resize(lineEnd);
    }
    auto [kept, characters] = Cut(text, room);
    if (kept.size() < text.size()) {
        fitted.note += (fitted.note.empty() ? "" : "\n") +
                       std::string("粘贴内容超出长度，已截断为前") + std::to_string(characters) +
                       "个字符";
    }
    fitted.text = std::move(kept);
    return fitted;
}

} // namespace orvane
