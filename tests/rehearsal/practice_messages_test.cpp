// The lines between the program and its practice form: what goes, what
// comes back, and what a line that is no message gives.
#include "rehearsal/practice_messages.h"
#include "text/ansi_literals.h"

#include <gtest/gtest.h>

namespace orvane {

namespace {

TEST(PracticeMessages, ReportsAndCommandsGoAndComeBackWhole) {
    auto at = std::chrono::steady_clock::time_point(std::chrono::milliseconds(123456789));
    // Any byte of GB18030 text, a line end and a blank among them.
    std::string text = "张\n三 𠮷\r\x01X";
    std::optional<FormReport> box =
        ReadFormReport(FormReportLine({FormReport::Kind::Box, 9, at, text}));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->box, 9u);
    EXPECT_EQ(box->at, at);
    EXPECT_EQ(box->text, text);
    EXPECT_EQ(FormReportLine({FormReport::Kind::Box, 0, at, text}).find('\n'), std::string::npos);
    EXPECT_EQ(ReadFormReport(FormReportLine({FormReport::Kind::Box, 1, at, ""}))->text, "");
    EXPECT_EQ(ReadFormReport(FormReportLine({FormReport::Kind::Submit, 0, at, {}}))->kind,
              FormReport::Kind::Submit);
    EXPECT_EQ(ReadFormCommand(FormCommandLine({FormCommand::Kind::Show, text}))->text, text);
    EXPECT_EQ(ReadFormCommand("start")->kind, FormCommand::Kind::Start);
}

TEST(PracticeMessages, ALineThatIsNoMessageIsRefused) {
    std::string tooLong(2 * (kReportedTextLimit + 1), 'A');
    for (const std::string& line :
         {std::string(), std::string("box"), std::string("box 1"), std::string("box 10 5 41"),
          std::string("box -1 5 41"), std::string("box 1 -5 41"), std::string("box 1 5x 41"),
          std::string("box 1 5 4"), std::string("box 1 5 4G"), std::string("box 1 5 41 42"),
          "box 1 5 " + tooLong, std::string("submit"), std::string("submit 1 2"),
          std::string("BOX 1 5 41"), std::string("box 99999999999999999999 5 41")}) {
        EXPECT_FALSE(ReadFormReport(line)) << line;
    }
    for (const std::string& line : {std::string("start now"), std::string("show 4"),
                                    std::string("show zz"), std::string("shown 41")}) {
        EXPECT_FALSE(ReadFormCommand(line)) << line;
    }
}

} // namespace

} // namespace orvane
