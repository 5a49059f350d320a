#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// The lines the program and its practice form, a process of its own,
// exchange over the form's standard input and output. Texts go as hex of
// their ANSI bytes, so that no byte of them ends a line.

// The most boxes a practice form has: a sequence that fills more is no
// form a bank asks for.
inline constexpr size_t kPracticeBoxLimit = 10;
// The most bytes a box's text is reported with: past it, the report is
// refused as no report.
inline constexpr size_t kReportedTextLimit = 4096;

// What the form tells: a box's text changed, or 提交 was clicked; when, on
// the machine's steady clock, which all its processes share.
struct FormReport {
    enum class Kind { Box, Submit };
    Kind kind = Kind::Box;
    size_t box = 0; // from 0
    std::chrono::steady_clock::time_point at;
    std::string text; // the box's whole text
};

std::string FormReportLine(const FormReport& report);
// None for a line that is no report: unknown, malformed, a box past the
// limit, a text too long.
std::optional<FormReport> ReadFormReport(std::string_view line);

// What the program tells the form: the practice opening has come, or a
// line to show (a press's result, the verdict) with its boxes emptied for
// the next press.
struct FormCommand {
    enum class Kind { Start, Show };
    Kind kind = Kind::Start;
    std::string text;
};

std::string FormCommandLine(const FormCommand& command);
std::optional<FormCommand> ReadFormCommand(std::string_view line);

} // namespace orvane
