#include "applicants/field_checks.h"
#include "applicants/paste_fit.h"
#include "applicants/table_paste.h"
#include "text/ansi_literals.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <string>

namespace orvane {

namespace {

const std::chrono::year_month_day kToday{std::chrono::year{2026} / 12 / 7};

TEST(FieldChecks, IdNumbers) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"11010519491231002X", std::nullopt},
        {"11010519491231002x", std::nullopt},
        {"440304200002291236", std::nullopt}, // 29 February of a leap year
        {"110105194912310021", "校验位不对：按前17位，最后一位应是X"},
        {"440304199902301238", "出生日期1999年2月30日不存在"},
        {"110101203001011236", "出生日期2030年1月1日在今天之后"},
        {"110105189901011239", "出生日期1899年1月1日早于1900年"},
        {"110105491231002", "这是15位的旧身份证号码，请改用18位的新号码"},
        {"1101051949123100", "身份证号码应为18位，现在是16位"},
        {"11010519491231A02X", "身份证号码的前17位应全是数字"},
        {"11010519491231002Y", "身份证号码的最后一位应是数字或X"},
    };
    for (const auto& [id, finding] : cases) {
        EXPECT_EQ(IdNumberFinding(id, kToday), finding) << id;
    }
}

#ifndef _WIN32
// Birth dates in ID numbers are mainland dates: "today" is Beijing's on a
// computer in any zone. Zones 26 hours apart never share a local date.
TEST(FieldChecks, TodayIsBeijingsDateInEveryZone) {
    const char* zone = std::getenv("TZ");
    std::string before = zone != nullptr ? zone : "";
    auto todayIn = [](const char* tz) {
        ::setenv("TZ", tz, 1);
        ::tzset();
        return Today();
    };
    std::chrono::year_month_day east = todayIn("XXX-14"); // UTC+14
    std::chrono::year_month_day west = todayIn("XXX+12"); // UTC-12
    zone != nullptr ? ::setenv("TZ", before.c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
    EXPECT_EQ(east, west);
    EXPECT_EQ(east, Today());
}
#endif

TEST(FieldChecks, PhonesBlanksAndDuplicatesInOneField) {
    EXPECT_EQ(PhoneFinding("13800138000"), std::nullopt);
    EXPECT_EQ(PhoneFinding("19912345678"), std::nullopt);
    for (const char* wrong : {"12345678901", "1380013800", "138001380001", "2380013800a"}) {
        EXPECT_EQ(PhoneFinding(wrong), "手机号应为11位数字，以13～19开头") << wrong;
    }
    EXPECT_EQ(BlanksFinding("张三"), std::nullopt);
    EXPECT_TRUE(BlanksFinding(" 张三").has_value());
    EXPECT_TRUE(BlanksFinding("张三\t").has_value());
    // An ideographic space (U+3000) and a no-break space (U+00A0), as Chinese
    // input methods and web pages leave them; inside a name they count.
    EXPECT_TRUE(BlanksFinding("\xA1\xA1张三").has_value());
    EXPECT_TRUE(BlanksFinding("张三\x81\x30\x84\x32").has_value());
    EXPECT_EQ(BlanksFinding("张\xA1\xA1三"), std::nullopt);
    EXPECT_EQ(PhoneFinding("13800138000\xA1\xA1"), std::nullopt) << "only the blank is marked";

    Applicants applicants;
    applicants.SetField(3, IdKey(), "11010519491231002X");
    applicants.SetField(9, IdKey(), " 11010519491231002x");
    applicants.SetField(4, PhoneKey(), "12345678901");
    EXPECT_EQ(FieldFinding(applicants, 3, IdKey(), kToday), "与第九组的身份证号码相同");
    EXPECT_EQ(FieldFinding(applicants, 9, IdKey(), kToday),
              "开头或结尾有空格（含全角空格、不换行空格）：复制时会去掉\n与第三组的身份证号码相同");
    EXPECT_EQ(FieldFinding(applicants, 4, PhoneKey(), kToday), "手机号应为11位数字，以13～19开头");
    EXPECT_EQ(FieldFinding(applicants, 5, IdKey(), kToday), std::nullopt) << "empty: no finding";
    applicants.SetField(1, NameKey(), "某人 ");
    EXPECT_TRUE(FieldFinding(applicants, 1, NameKey(), kToday).has_value());
}

TEST(TablePaste, FromGroup24TwoRowsFitOneIsLeftOut) {
    Applicants current;
    current.SetField(25, NameKey(), "旧");
    Result<TablePaste> plan = PlanTablePaste("张三\t11010519491231002X\t13800138000\r\n"
                                             "李四, 440304200002291236 ,13900139000\r\n"
                                             "\r\n"
                                             "王五，310104198001011239，13700137000\r\n",
                                             24, current);
    ASSERT_TRUE(plan.Ok()) << plan.Reason();
    const TablePaste& paste = *plan;
    ASSERT_EQ(paste.rows.size(), 2u);
    EXPECT_EQ(paste.leftOut, 1);
    EXPECT_EQ(paste.overwritten, std::vector<int>{25});
    EXPECT_EQ(TablePasteQuestion(paste), "将写入2组：第二十四组至第二十五组。\n"
                                         "其中第二十五组已有内容，将被覆盖。\n"
                                         "超出第二十五组的1行不会写入。");
    ApplyTablePaste(paste, current);
    EXPECT_EQ(current.Field(24, IdKey()), "11010519491231002X");
    EXPECT_EQ(current.Field(25, NameKey()), "李四");
    EXPECT_EQ(current.Field(25, IdKey()), "440304200002291236") << "blanks around a cell dropped";
}

TEST(TablePaste, ALineThatDoesNotFitRefusesTheWholeTable) {
    const std::pair<std::string, std::string> cases[] = {
        {"张三\t11010519491231002X\t13800138000\n李四\t13900139000\n",
         "第2行有2项，应为姓名、身份证、手机号3项"},
        {"张三,11010519491231002X,13800138000,北京\n", "第1行有4项，应为姓名、身份证、手机号3项"},
        {"张三\t11010519491231002X1\t13800138000\n", "第1行的身份证超过18个字符"},
        {"张三\t11010519491231002X\t138001380001\n", "第1行的手机号超过11个字符"},
    };
    for (const auto& [table, refusal] : cases) {
        EXPECT_EQ(PlanTablePaste(table, 1, Applicants()).Reason(), refusal);
    }
    Result<TablePaste> emptyCells = PlanTablePaste("张三\t\t\n", 1, Applicants());
    ASSERT_TRUE(emptyCells.Ok());
    ASSERT_EQ(emptyCells->rows.size(), 1u) << "empty cells are cells";
    EXPECT_EQ(emptyCells->rows[0][2], "");
}

// A lone CR ends a line as LF and CR LF do, and a NUL goes: no cell ever
// carries either into a field.
TEST(TablePaste, NoCellHoldsALineBreakOrANul) {
    Result<TablePaste> paste =
        PlanTablePaste(std::string("张三\r[第二组]\t1\t2\r\n李\0四\t3\t4\n", 28), 1, Applicants());
    EXPECT_EQ(paste.Reason(), "第1行有1项，应为姓名、身份证、手机号3项");
}

TEST(TablePaste, LinesEndInCrLfOrCrAndNulsGo) {
    Result<TablePaste> plan =
        PlanTablePaste(std::string("张三\t1\t2\r李\0四\t3\t4\r\n王五\t5\t6", 27), 1, Applicants());
    ASSERT_TRUE(plan.Ok()) << plan.Reason();
    const TablePaste& paste = *plan;
    ASSERT_EQ(paste.rows.size(), 3u);
    EXPECT_EQ(paste.rows[0][2], "2");
    EXPECT_EQ(paste.rows[1][0], "李四");
    EXPECT_EQ(paste.rows[2][0], "王五");
}

// What a paste into a box keeps, and what the box's finding then says.
TEST(PasteFit, OneLineWithoutNulsThatFits) {
    EXPECT_EQ(FitPaste("110105194912310021\r\n", 18).text, "110105194912310021")
        << "a spreadsheet cell";
    EXPECT_EQ(FitPaste("110105194912310021\r\n", 18).note, "");
    EXPECT_EQ(FitPaste("13800138000\n\n", 11).note, "");
    FittedPaste lines = FitPaste("张三\r\n[第二组]\r\n身份证=110105194912310021", 100);
    EXPECT_EQ(lines.text, "张三");
    EXPECT_EQ(lines.note, "粘贴内容有多行，只保留了第一行");
    EXPECT_EQ(FitPaste("张\r三", 100).text, "张");
    EXPECT_EQ(FitPaste(std::string("张\0三", 5), 100).text, "张三");
    FittedPaste cut = FitPaste("张三丰x", 5);
    EXPECT_EQ(cut.text, "张三") << "never half a character";
    EXPECT_EQ(cut.note, "粘贴内容超出长度，已截断为前2个字符");
    EXPECT_EQ(FitPaste("\x95\x34\xB2\x35\x95\x34\xB2\x35", 7).text, "\x95\x34\xB2\x35")
        << "a four-byte character whole";
    EXPECT_EQ(FitPaste("1234567890123\n2", 11).note,
              "粘贴内容有多行，只保留了第一行\n粘贴内容超出长度，已截断为前11个字符");
}

} // namespace

} // namespace orvane
