// The hot key's text and the typing sequence, as the user writes them on
// the 配置 page.
#include "text/ansi_literals.h"
#include "typing/hot_key.h"
#include "typing/read_back.h"
#include "typing/typing_sequence.h"

#include <gtest/gtest.h>

namespace orvane {

namespace {

using Kind = SequenceStep::Kind;

TEST(HotKey, ModifiersInAnyOrderAndCaseThenOneKey) {
    auto key = *ParseHotKey(kDefaultHotKeyText);
    EXPECT_EQ(key, (HotKey{.ctrl = true, .alt = true, .key = 'V'}));
    EXPECT_EQ(*ParseHotKey(" alt + CTRL+v "), key);
    EXPECT_EQ(HotKeyText(*ParseHotKey("shift+win+f12")), "Shift+Win+F12");
    EXPECT_EQ(HotKeyText(key), "Ctrl+Alt+V");
}

TEST(HotKey, WhatIsNotUnderstoodIsNamed) {
    EXPECT_EQ(ParseHotKey("Ctrl+Meta+V").Reason(),
              "输入热键中的“Meta”无法识别，应为 Ctrl、Alt、Shift 或 Win");
    EXPECT_EQ(ParseHotKey("Ctrl+F13").Reason(),
              "输入热键中的“F13”无法识别，应为字母、数字或 F1 到 F12");
    EXPECT_EQ(ParseHotKey("Ctrl+Ctrl+V").Reason(), "输入热键中的“Ctrl”重复了，每个键只写一次");
    EXPECT_EQ(ParseHotKey("Shift+V").Reason(),
              "输入热键须含 Ctrl、Alt 或 Win，否则会占用打字用的键");
    EXPECT_FALSE(ParseHotKey("").Ok());
}

// Keys every program or the system uses would stop working everywhere.
TEST(HotKey, KeysOfTheSystemAndOfEveryProgramAreRefusedWithTheReason) {
    EXPECT_EQ(ParseHotKey("Ctrl+V").Reason(),
              "输入热键不能用 Ctrl+V：它是各个程序都用的编辑键（复制、粘贴、剪切、撤销、全选、"
              "保存等）。请换一个，例如 Ctrl+Alt+V");
    for (const char* taken : {"Ctrl+C", "Ctrl+Shift+Z", "ctrl+a", "Ctrl+S", "Alt+F4", "Alt+V",
                              "Win+L", "Win+Shift+S", "Ctrl+F5"}) {
        auto refused = ParseHotKey(taken);
        ASSERT_FALSE(refused.Ok()) << taken;
        EXPECT_NE(refused.Reason().find("不能用"), std::string::npos) << taken;
    }
    for (const char* free :
         {"Ctrl+Alt+V", "Ctrl+Shift+F9", "Ctrl+Alt+1", "Ctrl+Win+V", "Alt+Win+V"}) {
        EXPECT_TRUE(ParseHotKey(free).Ok()) << free;
    }
}

// Ctrl+Alt+F2 switches to a text console and Ctrl+Alt+T opens a terminal on
// Linux desktops: refused there with that reason. Windows leaves both to
// programs, and a reason that spoke of Linux would mean nothing there.
TEST(HotKey, ChordsOfLinuxDesktopsAreRefusedOnlyThere) {
    Result<HotKey> console = ParseHotKey("Ctrl+Alt+F2");
    Result<HotKey> terminal = ParseHotKey("Ctrl+Alt+T");
#ifdef _WIN32
    EXPECT_TRUE(console.Ok());
    EXPECT_TRUE(terminal.Ok());
#else
    EXPECT_EQ(
        console.Reason(),
        "输入热键不能用 Ctrl+Alt+F2：它在 Linux 上会切换到字符终端。请换一个，例如 Ctrl+Alt+V");
    EXPECT_NE(terminal.Reason().find("打开终端"), std::string::npos);
#endif
}

TEST(TypingSequence, FieldsKeysAndTextInOrder) {
    auto steps = *ParseSequence(kDefaultSequence);
    EXPECT_EQ(steps, (std::vector<SequenceStep>{{Kind::Field, "姓名"},
                                                {Kind::Tab, ""},
                                                {Kind::Field, "身份证"},
                                                {Kind::Tab, ""},
                                                {Kind::Field, "手机号"}}));
    EXPECT_EQ(*ParseSequence("编号{手机号}{enter}"),
              (std::vector<SequenceStep>{
                  {Kind::Text, "编号"}, {Kind::Field, "手机号"}, {Kind::Enter, ""}}));
}

// "亄" is 0x81 0x7B in GB18030, "亇" 0x81 0x7D: their second bytes have the
// braces' values.
TEST(TypingSequence, UnknownNamesAndLoneBracesAreRefusedByName) {
    EXPECT_EQ(ParseSequence("{姓名}{TAB}{地址}").Reason(),
              "输入顺序中的 {地址} 无法识别，可用 {姓名}{身份证}{手机号}{TAB}{ENTER}");
    EXPECT_EQ(ParseSequence("{姓名}{TAB").Reason(), "输入顺序中的“{TAB”缺少 }");
    EXPECT_EQ(
        *ParseSequence("亄{姓名}亇"),
        (std::vector<SequenceStep>{{Kind::Text, "亄"}, {Kind::Field, "姓名"}, {Kind::Text, "亇"}}));
}

// A sequence that types nothing of the group, or one so long that it
// would be cut, is refused with its limit.
TEST(TypingSequence, WithoutAFieldOrTooLongIsRefused) {
    EXPECT_EQ(ParseSequence("").Reason(),
              "输入顺序须含 {姓名}、{身份证}、{手机号} 中的至少一项，否则按输入热键什么也不会输入");
    EXPECT_FALSE(ParseSequence("{TAB}{ENTER}").Ok());
    std::string longest = "{姓名}" + std::string(kSequenceLimit - 6, 'x'); // the name is 6 bytes
    EXPECT_TRUE(ParseSequence(longest).Ok());
    EXPECT_EQ(ParseSequence(longest + "{TAB}").Reason(),
              "输入顺序太长：有 260 个字节，最多 255 个");
}

TEST(TypingSequence, FilledFieldsBecomeTextAndEmptyOnesTypeNothing) {
    auto steps = *ParseSequence("{姓名}{手机号}{TAB}{身份证}");
    auto filled = FilledSteps(steps, [](const std::string& key) {
        return key == "姓名" ? std::string("张三") : key == "手机号" ? "139" : "";
    });
    EXPECT_EQ(filled, (std::vector<SequenceStep>{{Kind::Text, "张三139"}, {Kind::Tab, ""}}));
}

TEST(TypingSequence, EachBoxIsNamedByTheFieldsItGets) {
    EXPECT_EQ(BoxNames(*ParseSequence(kDefaultSequence)),
              (std::vector<std::string>{"姓名", "身份证", "手机号"}));
    EXPECT_EQ(BoxNames(*ParseSequence("{姓名}{身份证}{ENTER}+86{TAB}{手机号}{ENTER}")),
              (std::vector<std::string>{"姓名、身份证", "第2个输入框", "手机号", "第4个输入框"}));
}

// A box reads back as typed when it holds exactly what was sent, after what
// it held or in its place; only blanks and hyphens a page adds may differ.
TEST(ReadBack, OnlyWhatAPageDoesToANumberMayDiffer) {
    EXPECT_TRUE(ReadsBackAs("", "欧阳吉祥", "欧阳吉祥"));
    EXPECT_TRUE(ReadsBackAs("+86", "13912345678", "+8613912345678"));
    EXPECT_TRUE(ReadsBackAs("+86", "13912345678", "13912345678")) << "selected, then replaced";
    EXPECT_TRUE(ReadsBackAs("", "13912345678", "139 1234-5678"));
    EXPECT_TRUE(ReadsBackAs("", "13912345678",
                            "139\xA1\xA1"
                            "1234\x81\x30\x84\x32"
                            "5678"));
    EXPECT_FALSE(ReadsBackAs("", "Anna·Müller", "Ana·Müller"));
    EXPECT_FALSE(ReadsBackAs("", "11010519901018213X", "01101051990118213X"));
    EXPECT_FALSE(ReadsBackAs("", "11010519901018213X", "11010519901018213x"));
    EXPECT_FALSE(ReadsBackAs("", "吉𠮷祥", "zhang吉𠮷祥"));
    EXPECT_FALSE(ReadsBackAs("zhang", "张三", "张三zhang"));
    EXPECT_FALSE(HoldsText(" \xA1\xA1"));
    EXPECT_TRUE(HoldsText("zh"));
}

} // namespace

} // namespace orvane
