#pragma once

#include "runtime/result.h"
#include "window/practice_layout.h"

#include <optional>
#include <string>
#include <vector>

namespace orvane {

// What the command line asks for.
struct StartOptions {
    std::optional<std::string> timeUrl; // sendable; none unless given
    std::optional<std::string> screenshot;
    // Run as a practice form with these boxes, for the program that
    // started this one.
    std::optional<std::vector<PracticeBox>> practice;
};

// The command line's words after the program's name, as ANSI text:
// "--time-url URL" or "--time-url=URL", and where the desktop can render
// the window without showing it, "--screenshot FILE" in either form; and
// "--practice BOX…" last, each box its name or "name:limit" (the most
// characters it takes). Words that cannot be taken end the program with
// exit status 2.
Result<StartOptions> ReadCommandLine(const std::vector<std::string>& words, bool withScreenshot);

} // namespace orvane
