#include "failure_log.h"

#include "datetime/datetime.h"
#include "file_access.h"
#include "file_failure.h"
#include "program_directory.h"
#include "text/ansi_literals.h"
#include "text/text.h"
#include "text/unicode_text.h"

#include <cstdio>
#include <mutex>

namespace orvane {

namespace {

const std::string kFileName = "故障记录.txt";
const std::string kBom = "\xEF\xBB\xBF";

std::mutex& LogMutex() {
    static std::mutex mutex;
    return mutex;
}

std::string& LogFile() {
    static std::string file;
    return file;
}

// "2026-12-08 16:30:05 " in Beijing time.
std::string Stamp(std::chrono::system_clock::time_point when) {
    auto local = std::chrono::floor<std::chrono::seconds>(when) + kBeijingOffset;
    auto day = std::chrono::floor<std::chrono::days>(local);
    std::chrono::year_month_day date(day);
    std::chrono::hh_mm_ss time(local - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d ", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), int(time.hours().count()),
                  int(time.minutes().count()), int(time.seconds().count()));
    return text;
}

// The text cut to the line limit at a character's end, on one line.
std::string OneLine(const std::string& what) {
    std::string line;
    for (size_t at = 0; at < what.size();) {
        size_t length = CharacterLength(what, at);
        if (line.size() + length > kFailureLineLimit) {
            break;
        }
        std::string character = what.substr(at, length);
        line += character == "\r" || character == "\n" ? " " : character;
        at += length;
    }
    return line;
}

} // namespace

std::string FailureLogPath() {
    return DataDirectory(kFileName) + kPathSeparator + kFileName;
}

void SetFailureLog(std::string file) {
    std::lock_guard lock(LogMutex());
    LogFile() = std::move(file);
}

std::string WithFailureLine(const std::string& old, const std::string& what,
                            std::chrono::system_clock::time_point when) {
    std::string lines = old.starts_with(kBom) ? old.substr(kBom.size()) : old;
    lines += Utf8Of(Stamp(when) + OneLine(what)) + "\r\n";
    size_t start = 0;
    while (kBom.size() + lines.size() - start > kFailureLogLimit) {
        start = lines.find('\n', start) + 1;
    }
    return kBom + lines.substr(start);
}

void LogFailure(const std::string& what) {
    std::lock_guard lock(LogMutex());
    if (LogFile().empty()) {
        return;
    }
    Result<FileBytes> old = ReadRegularFile(LogFile(), kFailureLogLimit);
    // One grown too large elsewhere starts over; one that is no file stays so.
    if (old || old.Reason() == FileFailureText(FileFailure::TooLarge, kFailureLogLimit)) {
        auto when = std::chrono::system_clock::now();
        (void)ReplaceFileContent(LogFile(),
                                 WithFailureLine(old.ValueOr({}).value_or(""), what, when));
    }
}

void LogFailureOn(WorkQueue& queue, std::string what) {
    queue.Run([what = std::move(what)] { LogFailure(what); });
}

} // namespace orvane
