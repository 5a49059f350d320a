// Another program spoken to in lines: what it writes comes back line by
// line and its end is told; one that will not end when its input closes is
// ended; one that cannot start says why.
#include "process/child_process.h"

#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

namespace orvane {

namespace {

using namespace std::chrono_literals;

struct Heard {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> lines;
    bool ended = false;

    LineHandler Line() {
        return [this](std::string line) {
            std::scoped_lock lock(mutex);
            lines.push_back(std::move(line));
            changed.notify_all();
        };
    }
    std::function<void()> End() {
        return [this] {
            std::scoped_lock lock(mutex);
            ended = true;
            changed.notify_all();
        };
    }
    bool WaitFor(size_t count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 10s, [&] { return lines.size() >= count; });
    }
};

TEST(ChildProcess, LinesGoBothWaysAndTheEndIsTold) {
    Heard heard;
    Result<std::unique_ptr<ChildProcess>> child =
        ChildProcess::Start("/bin/cat", {}, heard.Line(), heard.End());
    ASSERT_TRUE(child) << child.Reason();
    EXPECT_TRUE((*child)->Send("box 0 1 41"));
    EXPECT_TRUE((*child)->Send("start"));
    ASSERT_TRUE(heard.WaitFor(2));
    EXPECT_EQ(heard.lines, (std::vector<std::string>{"box 0 1 41", "start"}));
    child->reset();
    EXPECT_TRUE(heard.ended);
}

TEST(ChildProcess, OneThatKeepsRunningIsEndedAndOneThatCannotStartSaysWhy) {
    Heard heard;
    Result<std::unique_ptr<ChildProcess>> child =
        ChildProcess::Start("/bin/sleep", {"60"}, heard.Line(), heard.End());
    ASSERT_TRUE(child);
    auto start = std::chrono::steady_clock::now();
    child->reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s) << "ended, not waited for";
    EXPECT_TRUE(heard.ended);

    Result<std::unique_ptr<ChildProcess>> missing =
        ChildProcess::Start("/nonexistent/orvane", {}, heard.Line(), heard.End());
    EXPECT_FALSE(missing);
}

} // namespace

} // namespace orvane
