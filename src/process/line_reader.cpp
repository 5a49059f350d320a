#include "line_reader.h"

#include <utility>

namespace orvane {

void LineReader::Take(std::string_view bytes) {
    while (!bytes.empty()) {
        size_t end = bytes.find('\n');
        std::string_view part = bytes.substr(0, end);
        if (!cut_) {
            size_t room = kChannelLineLimit + 1 - pending_.size(); // one more for a '\r'
            pending_.append(part.substr(0, room));
            cut_ = part.size() > room;
        }
        if (end == std::string_view::npos) {
            return;
        }
        Emit();
        bytes.remove_prefix(end + 1);
    }
}

void LineReader::Finish() {
    if (!pending_.empty()) {
        Emit();
    }
}

void LineReader::Emit() {
    if (!pending_.empty() && pending_.back() == '\r') {
        pending_.pop_back();
    }
    if (pending_.size() > kChannelLineLimit) {
        pending_.resize(kChannelLineLimit);
    }
    cut_ = false;
    line_(std::exchange(pending_, {}));
}

} // namespace orvane
