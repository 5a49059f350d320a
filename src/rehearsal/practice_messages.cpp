#include "practice_messages.h"

#include <charconv>
#include <cstdint>

namespace orvane {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

std::string Hex(const std::string& text) {
    std::string hex;
    hex.reserve(text.size() * 2);
    for (unsigned char c : text) {
        hex += kDigits[c >> 4];
        hex += kDigits[c & 0xF];
    }
    return hex;
}

int Nibble(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::optional<std::string> FromHex(std::string_view hex, size_t limit) {
    if (hex.size() % 2 != 0 || hex.size() / 2 > limit) {
        return std::nullopt;
    }
    std::string text;
    for (size_t at = 0; at < hex.size(); at += 2) {
        int high = Nibble(hex[at]);
        int low = Nibble(hex[at + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        text += char((high << 4) | low);
    }
    return text;
}

// The next word of the line, up to a blank; the line keeps the rest.
std::string_view NextWord(std::string_view& line) {
    size_t end = line.find(' ');
    std::string_view word = line.substr(0, end);
    line.remove_prefix(end == std::string_view::npos ? line.size() : end + 1);
    return word;
}

template <class T> std::optional<T> Number(std::string_view word) {
    T value{};
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size() || word.empty()) {
        return std::nullopt;
    }
    return value;
}

std::string Ticks(std::chrono::steady_clock::time_point at) {
    return std::to_string(
        std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count());
}

std::optional<std::chrono::steady_clock::time_point> TimeOf(std::string_view word) {
    std::optional<std::int64_t> ticks = Number<std::int64_t>(word);
    if (!ticks || *ticks < 0) {
        return std::nullopt;
    }
    return std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::nanoseconds(*ticks)));
}

} // namespace

std::string FormReportLine(const FormReport& report) {
    if (report.kind == FormReport::Kind::Submit) {
        return "submit " + Ticks(report.at);
    }
    return "box " + std::to_string(report.box) + " " + Ticks(report.at) + " " + Hex(report.text);
}

std::optional<FormReport> ReadFormReport(std::string_view line) {
    std::string_view kind = NextWord(line);
    FormReport report;
    if (kind == "box") {
        std::optional<size_t> box = Number<size_t>(NextWord(line));
        std::optional<std::chrono::steady_clock::time_point> at = TimeOf(NextWord(line));
        std::optional<std::string> text = FromHex(line, kReportedTextLimit);
        if (!box || *box >= kPracticeBoxLimit || !at || !text) {
            return std::nullopt;
        }
        return FormReport{FormReport::Kind::Box, *box, *at, std::move(*text)};
    }
    if (kind == "submit") {
        std::optional<std::chrono::steady_clock::time_point> at = TimeOf(line);
        if (!at) {
            return std::nullopt;
        }
        return FormReport{FormReport::Kind::Submit, 0, *at, {}};
    }
    return std::nullopt;
}

std::string FormCommandLine(const FormCommand& command) {
    return command.kind == FormCommand::Kind::Start ? "start" : "show " + Hex(command.text);
}

std::optional<FormCommand> ReadFormCommand(std::string_view line) {
    std::string_view kind = NextWord(line);
    if (kind == "start" && line.empty()) {
        return FormCommand{};
    }
    if (kind == "show") {
        std::optional<std::string> text = FromHex(line, kReportedTextLimit);
        if (text) {
            return FormCommand{FormCommand::Kind::Show, std::move(*text)};
        }
    }
    return std::nullopt;
}

} // namespace orvane
