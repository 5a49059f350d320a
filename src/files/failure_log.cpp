#include "failure_log.h"

#include "datetime/datetime.h"
#include "file_access.h"
#include "program_directory.h"
#include "text/ansi_literals.h"
#include "text/text.h"
#include "text/unicode_text.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <mutex>
#include <system_error>
#include <vector>

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

// The Beijing time and a space before each entry.
std::string Stamp(std::chrono::system_clock::time_point when) {
    return BeijingStamp(when) + " ";
}

// "2026-12-08 16:30:05 ": the stamp before each entry.
constexpr size_t kStampLength = 20;

// The log's lines, without their ends.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        size_t end = std::min(text.find('\n', at), text.size());
        std::string line = text.substr(at, end - at);
        if (line.ends_with('\r')) {
            line.pop_back();
        }
        lines.push_back(line);
        at = end + 1;
    }
    return lines;
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

// The count a folded line holds; one that cannot be read counts from zero.
int FoldedCount(const std::string& line, size_t from) {
    int times = 0;
    std::from_chars_result read =
        std::from_chars(line.data() + from, line.data() + line.size(), times);
    if (read.ec == std::errc::result_out_of_range) {
        return INT_MAX - 1;
    }
    return read.ec == std::errc() ? std::min(times, INT_MAX - 1) : 0;
}

} // namespace

std::string FailureLogBeside(const std::string& file) {
    return file.substr(0, FolderLength(file) + 1) + kFileName;
}

void SetFailureLog(std::string file) {
    std::scoped_lock lock(LogMutex());
    LogFile() = std::move(file);
}

std::string WithFailureLine(const std::string& old, const std::string& what,
                            std::chrono::system_clock::time_point when) {
    std::string lines = old.starts_with(kBom) ? old.substr(kBom.size()) : old;
    if (old.size() >= kFailureLogLimit) {
        lines.erase(0, lines.find('\n') + 1); // cut at the limit, most likely within a line
    }
    std::vector<std::string> entries = Lines(lines);
    std::string stamp = Stamp(when);
    std::string line = Utf8Of(OneLine(what));
    std::string counted = Utf8Of("  同样的失败又发生了 ");
    size_t last = entries.size();
    bool folded = last > 0 && entries[last - 1].starts_with(counted);
    size_t entry = folded ? last - 2 : last - 1;
    if (last > (folded ? 1u : 0u) && entries[entry].size() > kStampLength &&
        entries[entry].substr(kStampLength) == line) {
        int times = folded ? FoldedCount(entries[last - 1], counted.size()) : 0;
        std::string count = counted + std::to_string(times + 1) + Utf8Of(" 次，最近一次 ") +
                            stamp.substr(0, kStampLength - 1);
        if (folded) {
            entries.back() = count;
        } else {
            entries.push_back(count);
        }
    } else {
        entries.push_back(Utf8Of(stamp) + line);
    }
    size_t bytes = kBom.size();
    for (const std::string& kept : entries) {
        bytes += kept.size() + 2;
    }
    size_t first = 0;
    for (; bytes > kFailureLogLimit && first < entries.size(); ++first) {
        bytes -= entries[first].size() + 2;
    }
    std::string log = kBom;
    for (size_t at = first; at < entries.size(); ++at) {
        log += entries[at] + "\r\n";
    }
    return log;
}

void LogFailure(const std::string& what) {
    std::scoped_lock lock(LogMutex());
    if (LogFile().empty()) {
        return;
    }
    MakePrivateFolder(LogFile().substr(0, FolderLength(LogFile())));
    Result<FileBytes> old = ReadRegularFileEnd(LogFile(), kFailureLogLimit);
    // One that is no file stays so.
    if (old) {
        auto when = std::chrono::system_clock::now();
        (void)ReplaceFileContent(LogFile(), WithFailureLine(old->value_or(""), what, when));
    }
}

void LogFailureOn(WorkQueue& queue, std::string what) {
    queue.Run([what = std::move(what)] { LogFailure(what); });
}

} // namespace orvane
