#include "profile/profile_format.h"
#include "text/ansi_literals.h"

#include <gtest/gtest.h>

namespace orvane {

namespace {

std::optional<std::string> Find(const std::string& content, const std::string& section,
                                const std::string& key) {
    return FindProfileValue(content, section, key);
}

TEST(ProfileRead, LineEndsBlanksCommentsAndQuotes) {
    const std::string content = "  [第一组]  \n"
                                "; 姓名=注释\r"
                                "\t姓名 =  张三 \r\n"
                                "\r\n"
                                "身份证=\"真 \"\r\n"
                                "手机号='138'\n"
                                "空=\n"
                                "单=\"\n"
                                "混='x\"\n"
                                "竖\v=\v\"引\"\v \n"
                                "[ 配置 ]\r\n"
                                "记住配置=真";
    EXPECT_EQ(Find(content, "第一组", "姓名"), "张三");
    EXPECT_EQ(Find(content, "第一组", "身份证"), "真 ");
    EXPECT_EQ(Find(content, "第一组", "手机号"), "138");
    EXPECT_EQ(Find(content, "第一组", "空"), "") << "k= is the empty text, not missing";
    EXPECT_EQ(Find(content, "第一组", "单"), "\"");
    EXPECT_EQ(Find(content, "第一组", "混"), "'x\"");
    EXPECT_EQ(Find(content, "第一组", "竖"), "引") << "a vertical tab is a blank too";
    EXPECT_EQ(Find(content, "配置", "记住配置"), "真");
    EXPECT_EQ(Find(content, "第一组", "记住配置"), std::nullopt);
    EXPECT_EQ(Find(content, "第二组", "姓名"), std::nullopt);
    EXPECT_EQ(Find("", "a", "b"), std::nullopt);
}

TEST(ProfileRead, AsciiNamesIgnoreCaseOthersExact) {
    const std::string content = "[Settings]\r\nUserName=a\r\n[ＡＢ]\r\nk=b\r\n";
    EXPECT_EQ(Find(content, "settings", "USERNAME"), "a");
    EXPECT_EQ(Find(content, " Settings ", " username "), "a") << "blanks around arguments";
    EXPECT_EQ(Find(content, "ＡＢ", "k"), "b");
    EXPECT_EQ(Find(content, "ａｂ", "k"), std::nullopt) << "full-width letters match exactly";
}

TEST(ProfileRead, FirstSectionOfANameWins) {
    const std::string content = "[s]\r\na=1\r\na=2\r\n[t]\r\nb=0\r\n[S]\r\nb=3\r\na=4\r\n";
    EXPECT_EQ(Find(content, "s", "a"), "1");
    EXPECT_EQ(Find(content, "s", "b"), std::nullopt);
}

TEST(ProfileRead, TrailBytesAreNeverTakenForSyntax) {
    // 乗 is 81 5D ("]" as its trail byte); 乛 is 81 5B ("[" as trail).
    const std::string content = "[乗乛]\r\nk乗=v\r\n";
    EXPECT_EQ(Find(content, "乗乛", "k乗"), "v");
    // "丄" (81 4B) holds 'K' as its trail byte: it must not match "丄k" folded.
    EXPECT_EQ(Find("[s]\r\n\x81k=1\r\n", "s", "\x81K"), std::nullopt);
}

TEST(ProfileWrite, NewFileSectionAndKeyInWindowsFormat) {
    std::string content = SetProfileValue("", "第一组", "姓名", "张三");
    EXPECT_EQ(content, "[第一组]\r\n姓名=张三\r\n");
    content = SetProfileValue(content, "第一组", "身份证", "");
    content = SetProfileValue(content, "第二组", "姓名", "李四");
    EXPECT_EQ(content, "[第一组]\r\n姓名=张三\r\n身份证=\r\n[第二组]\r\n姓名=李四\r\n");
}

TEST(ProfileWrite, ReplacingRewritesOnlyThatLine) {
    const std::string before = "; 说明\n[Conf]  \n  Remember = old ; x\n\n[other]\nk=v";
    std::string after = SetProfileValue(before, "conf", "remember", "真");
    EXPECT_EQ(after, "; 说明\n[Conf]  \nRemember=真\n\n[other]\nk=v");
}

TEST(ProfileWrite, NewKeyGoesAfterTheLastKeyOfItsSection) {
    const std::string before = "[a]\r\nx=1\r\n; note\r\n\r\n[b]\r\ny=2";
    EXPECT_EQ(SetProfileValue(before, "a", "z", "3"),
              "[a]\r\nx=1\r\nz=3\r\n; note\r\n\r\n[b]\r\ny=2");
    EXPECT_EQ(SetProfileValue(before, "b", "z", "3"),
              "[a]\r\nx=1\r\n; note\r\n\r\n[b]\r\ny=2\r\nz=3\r\n");
    EXPECT_EQ(SetProfileValue("[a]", "a", "k", "v"), "[a]\r\nk=v\r\n");
    EXPECT_EQ(SetProfileValue("x=1", "c", "k", "v"), "x=1\r\n[c]\r\nk=v\r\n");
}

TEST(ProfileWrite, WhatIsWrittenReadsBack) {
    std::string content;
    for (const char* value : {"𠮷", "a=b", "", "  ", "O'Neil"}) {
        content = SetProfileValue(content, "组", "键", value);
        std::string expected = std::string(value) == "  " ? "" : value;
        EXPECT_EQ(Find(content, "组", "键"), expected);
    }
}

// Many items set in one pass are the items set one after another: a key
// rewritten in place, keys new to a section after its last key in order, a
// new section with its keys, a key given twice taking the later value.
TEST(ProfileFormat, ManyItemsInOnePassAsOneAfterAnother) {
    const std::string content = "[甲]\r\nk=1\r\n; note\r\n[乙]\r\nx = 2\r\n[甲]\r\nk=dup\r\n[丙]";
    const std::vector<ProfileItem> items = {{"甲", "K", "新"}, {"乙", "y", "3"}, {"乙", "z", "4"},
                                            {"丁", "a", "5"},  {"丁", "b", "6"}, {"乙", "y", "7"},
                                            {" 丙 ", "c", "8"}};
    std::string oneByOne = content;
    for (const ProfileItem& item : items) {
        oneByOne = SetProfileValue(oneByOne, item.section, item.key, item.value);
    }
    EXPECT_EQ(SetProfileValues(content, items), oneByOne);
    EXPECT_EQ(oneByOne, "[甲]\r\nk=新\r\n; note\r\n[乙]\r\nx = 2\r\ny=7\r\nz=4\r\n[甲]\r\n"
                        "k=dup\r\n[丙]\r\nc=8\r\n[丁]\r\na=5\r\nb=6\r\n");
}

} // namespace

} // namespace orvane
