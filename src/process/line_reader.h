#pragma once

#include "child_process.h"

#include <string>
#include <string_view>
#include <utility>

namespace orvane {

// Cuts what a channel reads into lines: bytes in as they come, each whole
// line out (without "\n" or "\r\n"), none longer than kChannelLineLimit.
class LineReader {
public:
    explicit LineReader(LineHandler line) : line_(std::move(line)) {}

    void Take(std::string_view bytes);
    // What is left without a line end, as the last line.
    void Finish();

private:
    void Emit();

    LineHandler line_;
    std::string pending_;
    bool cut_ = false; // the line in hand passed the limit: its rest is dropped
};

} // namespace orvane
