// A channel's bytes cut into lines: whatever pieces they come in, each
// line whole and without its end, none past the limit.
#include "process/line_reader.h"

#include <gtest/gtest.h>

namespace orvane {

namespace {

std::vector<std::string> Lines(const std::vector<std::string>& pieces, bool finish = true) {
    std::vector<std::string> lines;
    LineReader reader([&lines](std::string line) { lines.push_back(std::move(line)); });
    for (const std::string& piece : pieces) {
        reader.Take(piece);
    }
    if (finish) {
        reader.Finish();
    }
    return lines;
}

TEST(LineReader, PiecesMakeWholeLines) {
    using Expected = std::vector<std::string>;
    EXPECT_EQ(Lines({"box 1 2 41\nsta", "rt\r\n", "\n", "show"}),
              (Expected{"box 1 2 41", "start", "", "show"}));
    EXPECT_EQ(Lines({"show"}, false), Expected{}) << "a line without its end waits";
    EXPECT_EQ(Lines({"a\r", "\nb\n"}), (Expected{"a", "b"}));
    EXPECT_EQ(Lines({}), Expected{});
}

TEST(LineReader, ALineTooLongIsCutAndTheNextIsWhole) {
    std::string huge(kChannelLineLimit + 5000, 'x');
    std::vector<std::string> lines = Lines({huge.substr(0, 7000), huge.substr(7000), "\nok\n"});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(kChannelLineLimit, 'x'));
    EXPECT_EQ(lines[1], "ok");
}

} // namespace

} // namespace orvane
