#include "rehearsal/press_check.h"
#include "rehearsal/verdict.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using namespace std::chrono_literals;

const std::string kId = "110101199003071234";
const std::string kPhone = "13800138000";

BoxCheck Box(const std::string& name, const std::string& typed, const std::string& arrived,
             size_t limit = 0) {
    return {.name = name, .typed = typed, .arrived = arrived, .limit = limit};
}

TEST(PressCheck, TheBoxesAPressFillsFollowTheSequence) {
    std::vector<SequenceStep> steps = *ParseSequence("{姓名}{TAB}{身份证}{手机号}{ENTER}");
    std::map<std::string, std::string> group{{"姓名", "张三"}, {"身份证", kId}, {"手机号", kPhone}};
    std::vector<BoxCheck> boxes =
        TypedBoxes(steps, FilledSteps(steps, [&](const std::string& key) { return group[key]; }));
    ASSERT_EQ(boxes.size(), 3U);
    EXPECT_EQ(boxes[0].name, "姓名");
    EXPECT_EQ(boxes[0].typed, "张三");
    EXPECT_EQ(boxes[1].name, "身份证、手机号");
    EXPECT_EQ(boxes[1].typed, kId + kPhone);
    EXPECT_EQ(boxes[2].typed, "") << "after {ENTER}: the form is sent, nothing more typed";
}

TEST(PressCheck, AllAlikeIsRightWithTheTimeTaken) {
    PressCheck check = CheckPress(1, {Box("姓名", "张三", "张三"), Box("身份证", kId, kId)}, 280ms);
    EXPECT_EQ(check.fault, PressFault::None);
    EXPECT_EQ(check.line, "第一组 正确，松开按键后 0.28 秒输入完");
    EXPECT_EQ(CheckPress(12, {Box("手机号", kPhone, kPhone)}, 1234ms).line,
              "第十二组 正确，松开按键后 1.23 秒输入完");
}

// Each difference a person meets at a bank's page, with the cause the
// line names.
TEST(PressCheck, EachDifferenceNamesTheBoxWhatArrivedAndTheLikelyCause) {
    struct Case {
        BoxCheck box;
        PressFault fault;
        std::string line;
    };
    // A French layout's keys 1 … 0 give & é " ' ( - è _ ç à.
    const std::vector<std::string> keys = {"à", "&", "é", "\"", "'", "(", "-", "è", "_", "ç"};
    std::string french;
    for (char digit : kId) {
        french += keys.at(size_t(digit - '0'));
    }
    const std::vector<Case> cases = {
        {Box("身份证", kId, "1101011990下03071234"), PressFault::InputMethod,
         "第一组 身份证多了一个“下”：输入法没能关掉"},
        {Box("手机号", kPhone, "138800138000"), PressFault::KeyHeld,
         "第一组 手机号多了一个“8”：有键按住没松开，字重复了"},
        {Box("手机号", kPhone, "1380v0138000"), PressFault::Unknown,
         "第一组 手机号多了一个“v”：别的程序或网页自己加了字"},
        {Box("手机号", kPhone, "1380013800"), PressFault::Lost,
         "第一组 手机号少了一个“0”：按键被别的程序拿走了，或网页来不及接收"},
        {Box("手机号", kPhone, "130013"), PressFault::Lost,
         "第一组 手机号少了一个“8”，输入随后停下：按键被别的程序拿走了，或网页来不及接收"},
        {Box("姓名", "张三", ""), PressFault::Lost,
         "第一组 姓名什么也没收到：焦点不在这个框，或按键被别的程序拿走了"},
        {Box("手机号", kPhone, "13800183000"), PressFault::Reordered,
         "第一组 手机号收到的字顺序乱了（“13800183000”）：网页来不及接收，按键的先后被打乱了"},
        {Box("身份证", kId + "5", kId, 18), PressFault::Cut,
         "第一组 身份证只进去了前 18 个字：这个框最多能放 18 个字，请核对这一项"},
        {Box("手机号", "138", "１３８"), PressFault::InputMethod,
         "第一组 手机号收到的是全角的“１３８”：输入法处在全角状态"},
        {Box("身份证", kId, french), PressFault::Layout,
         "第一组 身份证收到的是“" + french + "”：键盘布局不是美式键盘，同样的键打出了别的字"},
        {Box("手机号", kPhone, "下单13800138000吗"), PressFault::InputMethod,
         "第一组 手机号收到的是“下单13800138000吗”：输入法没能关掉"},
        {Box("手机号", kPhone, "13911"), PressFault::Unknown,
         "第一组 手机号应为“13800138000”，收到的是“13911”"},
    };
    for (const Case& c : cases) {
        PressCheck check = CheckPress(1, {c.box}, 300ms);
        EXPECT_EQ(check.fault, c.fault) << c.line;
        EXPECT_EQ(check.line, c.line);
    }
}

// A name is wide characters: one lost or doubled is told whole, never a
// byte of it.
TEST(PressCheck, WideCharactersCountWhole) {
    EXPECT_EQ(CheckPress(3, {Box("姓名", "欧阳娜娜", "欧阳娜")}, 1s).line,
              "第三组 姓名少了一个“娜”：按键被别的程序拿走了，或网页来不及接收");
    EXPECT_EQ(CheckPress(3, {Box("姓名", "𠮷祥", "𠮷𠮷祥")}, 1s).line,
              "第三组 姓名多了一个“𠮷”：输入法没能关掉");
}

TEST(PressCheck, TheFirstBoxThatDiffersIsNamed) {
    PressCheck check = CheckPress(
        2, {Box("姓名", "张三", "张三"), Box("身份证", kId, kId + "x"), Box("手机号", kPhone, "")},
        1s);
    EXPECT_EQ(check.line, "第二组 身份证多了一个“x”：别的程序或网页自己加了字");
}

TEST(RehearsalVerdict, TellsWhetherTheHotKeyCanBeTrustedWithoutTheApplicants) {
    const std::string clock = "时钟误差 ±3 毫秒，服务器 www.example.com";
    std::vector<PressCheck> presses;
    for (auto time : {280ms, 310ms, 330ms}) {
        presses.push_back(CheckPress(1, {Box("身份证", kId, kId)}, time));
    }
    EXPECT_EQ(RehearsalVerdict(presses, clock),
              "演练通过：3 组全部正确，平均 0.3 秒；时钟误差 ±3 毫秒，服务器 www.example.com");

    presses.push_back(CheckPress(4, {Box("身份证", kId, "11010119900307下1234")}, 1s));
    presses.push_back(CheckPress(5, {Box("姓名", "张三", "张下三")}, 1s));
    presses.push_back(CheckPress(6, {Box("手机号", kPhone, "1380013800")}, 1s));
    std::string verdict = RehearsalVerdict(presses, clock);
    EXPECT_EQ(verdict, "演练未通过：6 组中 3 组有误，输入法没能关掉，按热键前请先切到英文，"
                       "或换一个输入法再演练；时钟误差 ±3 毫秒，服务器 www.example.com");
    for (const std::string& data : {kId, kPhone, std::string("张三"), std::string("下")}) {
        EXPECT_EQ(verdict.find(data), std::string::npos) << "the log line holds no applicant data";
    }
    EXPECT_EQ(RehearsalVerdict({}, clock),
              "演练没有做完：没有按过输入热键；时钟误差 ±3 毫秒，服务器 www.example.com");
}

} // namespace
} // namespace orvane
