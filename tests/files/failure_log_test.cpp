// The failure log: its lines, its bound, and a file that is not the log's.
#include "files/failure_log.h"
#include "temp_folder.h"
#include "text/unicode_text.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace orvane {

namespace {

using namespace std::chrono;

const system_clock::time_point kWhen = sys_days{2026y / 12 / 8} + 8h + 30min + 5s;

// Names the log for one test, and no log after it.
class FailureLog : public testing::Test {
protected:
    FailureLog() { SetFailureLog(log); }
    ~FailureLog() override { SetFailureLog({}); }

    TempFolder folder;
    std::string log = folder.Path("故障记录.txt");
};

TEST(FailureLine, BeijingTimeAndOneLineOfUtf8) {
    std::string text = WithFailureLine("", "保存失败：\r\n文件是只读的", kWhen);
    EXPECT_EQ(text,
              "\xEF\xBB\xBF" + Utf8Of("2026-12-08 16:30:05 保存失败：  文件是只读的") + "\r\n");
    EXPECT_EQ(WithFailureLine(text, "二", kWhen + 24h),
              text + Utf8Of("2026-12-09 16:30:05 二") + "\r\n")
        << "the mark at the file's start stays the only one";

    std::string longLine(1201, 'x');
    for (size_t i = 1; i < longLine.size(); i += 2) {
        longLine.replace(i, 2, "中");
    }
    std::string cut = WithFailureLine("", longLine, kWhen);
    EXPECT_TRUE(cut.ends_with(Utf8Of("中") + "\r\n")) << "cut at a character's end";
    EXPECT_EQ(cut.size(), 3 + 20 + 1 + (511 * 3) + 2);
}

TEST(FailureLine, TheOldestLinesGoPastTheLimit) {
    std::string text;
    for (int n = 0; n < 200; ++n) {
        text = WithFailureLine(text, std::to_string(n) + std::string(500, '-'), kWhen);
        ASSERT_LE(text.size(), kFailureLogLimit);
    }
    EXPECT_TRUE(text.starts_with("\xEF\xBB\xBF"
                                 "2026-12-08"))
        << "whole lines go";
    EXPECT_NE(text.find(" 199---"), std::string::npos);
    EXPECT_EQ(text.find(" 0---"), std::string::npos);
    EXPECT_GT(text.size(), kFailureLogLimit - 600) << "no more goes than needed";
}

TEST_F(FailureLog, LinesAddUpInTheFileNamed) {
    LogFailure("一");
    LogFailure("二");
    std::string bytes = folder.Bytes("故障记录.txt");
    EXPECT_NE(bytes.find(Utf8Of(" 一\r\n")), std::string::npos);
    EXPECT_TRUE(bytes.ends_with(Utf8Of(" 二\r\n")));

    SetFailureLog({});
    LogFailure("三");
    EXPECT_EQ(folder.Bytes("故障记录.txt"), bytes) << "no log named, none written";
}

// A failure that repeats the one before is counted on the line after it,
// with when it came last: a day of a server that fails every other lookup
// takes two lines.
TEST(FailureLine, ARepeatedFailureIsCountedOnOneLine) {
    std::string text;
    for (int n = 0; n < 2000; ++n) {
        text = WithFailureLine(text, "获取北京时间失败：服务器没有及时回答", kWhen + n * 43s);
    }
    EXPECT_EQ(text, "\xEF\xBB\xBF" +
                        Utf8Of("2026-12-08 16:30:05 获取北京时间失败：服务器没有及时回答\r\n"
                               "  同样的失败又发生了 1999 次，最近一次 2026-12-09 16:22:42\r\n"));
    text = WithFailureLine(text, "保存失败", kWhen + 24h);
    text = WithFailureLine(text, "获取北京时间失败：服务器没有及时回答", kWhen + 25h);
    EXPECT_TRUE(text.ends_with(Utf8Of("保存失败\r\n2026-12-09 17:30:05 获取北京时间失败：服务器没有"
                                      "及时回答\r\n")))
        << "another failure between: a line of its own again";
}

// The count is read back from the file, which anyone may have edited: a
// count past what a number holds stays at the most, one unreadable starts
// again.
TEST(FailureLine, AnEditedCountNeitherOverflowsNorStops) {
    const std::string what = "保存失败";
    const std::string first = "\xEF\xBB\xBF" + Utf8Of("2026-12-08 16:30:05 保存失败\r\n");
    const std::string tail = Utf8Of(" 次，最近一次 2026-12-08 16:30:05\r\n");
    auto folded = [&](const std::string& count) {
        std::string text = first;
        return text.append(Utf8Of("  同样的失败又发生了 ")).append(count).append(tail);
    };
    for (const char* count : {"2147483646", "2147483647", "99999999999999999999"}) {
        EXPECT_EQ(WithFailureLine(folded(count), what, kWhen), folded("2147483647")) << count;
    }
    EXPECT_EQ(WithFailureLine(folded(Utf8Of("多")), what, kWhen), folded("1"));
}

// A log grown past the limit elsewhere keeps its newest whole lines; the
// first failures of a program whose folder no save has made yet make it.
TEST_F(FailureLog, ALogTooLargeKeepsItsNewestLinesAndAMissingFolderIsMade) {
    std::string grown;
    for (int n = 0; grown.size() < 93'000; ++n) {
        grown += "2026-12-01 08:00:00 line " + std::to_string(n) + std::string(80, '.') + "\r\n";
    }
    folder.Write("故障记录.txt", grown);
    LogFailure("一");
    std::string bytes = folder.Bytes("故障记录.txt");
    EXPECT_LE(bytes.size(), kFailureLogLimit);
    EXPECT_GT(bytes.size(), kFailureLogLimit - 200) << "93 KB keep their newest 64 KiB";
    EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF"
                                  "2026-12-01 08:00:00 line "))
        << "whole lines";
    EXPECT_TRUE(bytes.ends_with(Utf8Of(" 一\r\n")));

    std::string later = folder.Path("数据/orvane/故障记录.txt");
    SetFailureLog(later);
    LogFailure("二");
    EXPECT_TRUE(folder.Bytes("数据/orvane/故障记录.txt").ends_with(Utf8Of(" 二\r\n")));

    folder.Remove("故障记录.txt");
    SetFailureLog(log);
    std::filesystem::create_directory(PathOf(log));
    LogFailure("三");
    EXPECT_TRUE(std::filesystem::is_directory(PathOf(log))) << "a folder in its place stays";
}

} // namespace

} // namespace orvane
