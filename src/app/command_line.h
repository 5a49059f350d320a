#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvane {

// What the command line asks for.
struct StartOptions {
    std::optional<std::string> timeUrl; // sendable; none unless given
    std::optional<std::string> screenshot;
};

// The command line's words after the program's name, as ANSI text:
// "--time-url URL" or "--time-url=URL", and where the desktop can render
// the window without showing it, "--screenshot FILE" in either form. The
// options, or why they cannot be taken, in words for the user (the program
// then ends with exit status 2).
struct CommandLine {
    std::optional<StartOptions> options;
    std::string error;
};
CommandLine ReadCommandLine(const std::vector<std::string>& words, bool withScreenshot);

} // namespace orvane
