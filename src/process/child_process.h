#pragma once

#include "runtime/result.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace orvane {

// The longest line either side of a channel takes; a longer one is cut
// here, its rest dropped.
inline constexpr size_t kChannelLineLimit = size_t{16} * 1024;

using LineHandler = std::function<void(std::string)>;

// Another program started by this one and spoken to in lines, without
// their line ends: what it writes on its standard output comes back line
// by line, what is sent goes to its standard input. No shell comes
// between: its words reach it as given.
class ChildProcess {
public:
    // Starts `program` with `words`. `line` runs on a thread of the
    // channel's own for each line the child writes, `ended` once after the
    // last, when the child has closed its output.
    static Result<std::unique_ptr<ChildProcess>> Start(const std::string& program,
                                                       const std::vector<std::string>& words,
                                                       LineHandler line,
                                                       std::function<void()> ended);
    // Closes the child's input, which asks it to end, and ends it where it
    // has not within a second.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Sends one line; false when the child no longer reads.
    bool Send(const std::string& line);

    struct Handles; // each system's own

private:
    explicit ChildProcess(std::unique_ptr<Handles> handles);

    std::unique_ptr<Handles> handles_;
    std::thread reader_;
};

// The program's own channel to the program that started it: its standard
// input and output. `line` runs on a thread of its own for each line that
// comes in, `ended` once the input ends; the thread ends with the process.
void ReadParentLines(LineHandler line, std::function<void()> ended);
// Sends one line to the parent; false when it no longer reads.
bool SendToParent(const std::string& line);

} // namespace orvane
