#include "applicants/field_checks.h"
#include "applicants/table_paste.h"
#include "runtime/ansi_literals.h"

#include <gtest/gtest.h>

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

TEST(FieldChecks, PhonesBlanksAndDuplicatesInOneField) {
    EXPECT_EQ(PhoneFinding("13800138000"), std::nullopt);
    EXPECT_EQ(PhoneFinding("19912345678"), std::nullopt);
    for (const char* wrong : {"12345678901", "1380013800", "138001380001", "2380013800a"}) {
        EXPECT_EQ(PhoneFinding(wrong), "手机号应为11位数字，以13～19开头") << wrong;
    }
    EXPECT_EQ(BlanksFinding("张三"), std::nullopt);
    EXPECT_TRUE(BlanksFinding(" 张三").has_value());
    EXPECT_TRUE(BlanksFinding("张三\t").has_value());

    Applicants applicants;
    applicants.SetField(3, IdKey(), "11010519491231002X");
    applicants.SetField(9, IdKey(), " 11010519491231002x");
    applicants.SetField(4, PhoneKey(), "12345678901");
    EXPECT_EQ(FieldFinding(applicants, 3, IdKey(), kToday), "与第九组的身份证号码相同");
    EXPECT_EQ(FieldFinding(applicants, 9, IdKey(), kToday),
              "开头或结尾有空格：保存后会被去掉，与复制的内容不同\n与第三组的身份证号码相同");
    EXPECT_EQ(FieldFinding(applicants, 4, PhoneKey(), kToday), "手机号应为11位数字，以13～19开头");
    EXPECT_EQ(FieldFinding(applicants, 5, IdKey(), kToday), std::nullopt) << "empty: no finding";
    applicants.SetField(1, NameKey(), "某人 ");
    EXPECT_TRUE(FieldFinding(applicants, 1, NameKey(), kToday).has_value());
}

TEST(TablePaste, FromGroup24TwoRowsFitOneIsLeftOut) {
    Applicants current;
    current.SetField(25, NameKey(), "旧");
    TablePaste paste = PlanTablePaste("张三\t11010519491231002X\t13800138000\r\n"
                                      "李四, 440304200002291236 ,13900139000\r\n"
                                      "\r\n"
                                      "王五，310104198001011239，13700137000\r\n",
                                      24, current);
    ASSERT_FALSE(paste.refusal.has_value());
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
        TablePaste paste = PlanTablePaste(table, 1, Applicants());
        EXPECT_EQ(paste.refusal, refusal);
        EXPECT_TRUE(paste.rows.empty());
    }
    TablePaste emptyCells = PlanTablePaste("张三\t\t\n", 1, Applicants());
    ASSERT_EQ(emptyCells.rows.size(), 1u) << "empty cells are cells";
    EXPECT_EQ(emptyCells.rows[0][2], "");
}

} // namespace

} // namespace orvane
