// What a practice form or the program that started it may send: any bytes,
// cut into lines as they come, and each line read as a report and as a
// command. A line never passes the limit nor holds its end; what is read
// is written back as the same line, and reads back the same.
#include "process/line_reader.h"
#include "rehearsal/practice_messages.h"

#include "fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace orvane;

namespace {

void CheckLine(const std::string& line) {
    Check(line.size() <= kChannelLineLimit && line.find('\n') == std::string::npos);
    if (std::optional<FormReport> report = ReadFormReport(line)) {
        Check(report->box < kPracticeBoxLimit && report->text.size() <= kReportedTextLimit);
        std::optional<FormReport> again = ReadFormReport(FormReportLine(*report));
        Check(again && again->kind == report->kind && again->box == report->box &&
              again->at == report->at && again->text == report->text);
    }
    if (std::optional<FormCommand> command = ReadFormCommand(line)) {
        std::optional<FormCommand> again = ReadFormCommand(FormCommandLine(*command));
        Check(again && again->kind == command->kind && again->text == command->text);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    LineReader lines(CheckLine);
    while (data.remaining_bytes() > 0) {
        lines.Take(data.ConsumeRandomLengthString(64));
    }
    lines.Finish();
    return 0;
}
