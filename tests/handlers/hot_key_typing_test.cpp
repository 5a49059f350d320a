// The hot key's handler in the window, over a keyboard the test scripts:
// which group a press types and what it types, when the group is marked,
// what the line in the status bar says, and the settings 设置 takes.
#include "app/work_queues.h"
#include "desk.h"
#include "fake_keyboard.h"
#include "files/failure_log.h"
#include "profile/profile_file.h"
#include "program_bindings.h"
#include "text/unicode_text.h"
#include "window/component_names.h"

#include <algorithm>

namespace orvane {

namespace {

class HotKeyHandler : public DeskTest {
protected:
    void Fill(int group, const char* name, const char* id, const char* phone) {
        window.SetContent(EditBoxName(group, NameKey()), name);
        window.SetContent(EditBoxName(group, IdKey()), id);
        window.SetContent(EditBoxName(group, PhoneKey()), phone);
    }
    void Start(const std::string& sequence = "{姓名}{TAB}{身份证}{TAB}{手机号}") {
        ASSERT_TRUE(
            WriteProfileItem(bindings.settings.Path("信息.ini"), "配置", "输入顺序", sequence)
                .Ok());
        bindings.StartSettings();
        ASSERT_TRUE(TakeMessages().empty());
    }
    // A press of the hot key, and the wait for what it did.
    void Press() {
        bindings.typing.OnHotKey();
        EXPECT_TRUE(PassUntil(
            window, [&] { return !Line().starts_with("正在输入"); }, 3000));
    }
    std::string Line() { return PanelTextOf(window, kTypingPanel); }
    std::string Tip() { return PanelTipOf(window, kTypingPanel); }
    bool Marked(int group) {
        return std::ranges::none_of(kFieldKeys, [&](const std::string& key) {
            return window.GetEnabled(CopyButtonName(group, key));
        });
    }

    WindowTimer timer{window};
    FakeKeyboard* keyboard = new FakeKeyboard(timer);
    ProgramBindings bindings{window, kNoTimeServer, std::unique_ptr<Keyboard>(keyboard)};
};

// What the fields show, blanks a user cannot see left out, in the
// sequence's order; the group marked once it arrived; the line says which
// was typed, then which is next.
TEST_F(HotKeyHandler, APressTypesTheNextGroupAndMarksItOnceItArrived) {
    Fill(2, "\xA1\xA1李四 ", "110105194912310037", "13900139000"); // U+3000 before the name
    Fill(3, "王五", "", "13700137000");
    Start();
    EXPECT_EQ(Line(), "下一组：第二组");
    Press();
    EXPECT_EQ(keyboard->Typed(), "李四\t110105194912310037\t13900139000");
    EXPECT_TRUE(Marked(2));
    EXPECT_EQ(Line(), "已输入第二组");
    EXPECT_EQ(Tip(), "已输入第二组，读回表单核对无误；下一组：第三组。");
    EXPECT_TRUE(PassUntil(
        window, [&] { return Line() == "下一组：第三组"; }, 6000));
    Click(window, RestoreButtonName(2));
    EXPECT_TRUE(PassUntil(
        window, [&] { return Line() == "下一组：第二组"; }, 1000))
        << "the line follows 恢复";
}

TEST_F(HotKeyHandler, APressThatStoppedLeavesTheGroupUnmarkedAndSaysWhy) {
    Fill(1, "张三", "11010519491231002X", "13800138000");
    keyboard->strayAfter = 4;
    Start();
    Press();
    EXPECT_EQ(keyboard->Typed(), "张三\t1");
    EXPECT_FALSE(Marked(1));
    EXPECT_EQ(Line(), "已停止：按了别的键");
    EXPECT_EQ(Tip(), "输入时按了键盘上的键，已停止；第一组没有标记为已用，请检查表单。");

    keyboard->strayAfter = -1;
    keyboard->focus = keyboard->ownWindow;
    Pass(window, 800); // past the quiet time after keys were sent
    Press();
    EXPECT_EQ(Line(), "没有输入：焦点在本程序");
    EXPECT_FALSE(Marked(1));
}

// A form that cannot be read is typed into as before, and the mark says it
// was not checked; one that reads back otherwise leaves the group next and
// says which box and what arrived, in the tooltip only: the log that users
// send gets no applicant's data.
TEST_F(HotKeyHandler, AGroupIsMarkedCheckedOnlyWhenItReadBack) {
    Fill(1, "张三", "11010519491231002X", "13800138000");
    Fill(2, "李四", "110105194912310037", "13900139000");
    keyboard->readable = false;
    SetFailureLog(bindings.settings.Path("故障记录.txt"));
    Start();
    Press();
    EXPECT_TRUE(Marked(1));
    EXPECT_EQ(Line(), "已输入第一组（未核对）");
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "没有核对", Tip());

    Pass(window, 800);
    keyboard->readable = true;
    keyboard->form = {"", "", "", ""};
    keyboard->box = 0;
    keyboard->dropKey = int(keyboard->presses.size()) + 19; // the ID's "3" after its "00"
    Press();
    EXPECT_FALSE(Marked(2));
    EXPECT_EQ(Line(), "已停止：身份证不对");
    EXPECT_EQ(Tip(), "身份证输入后读到的是“11010519491231007”，与要输入的不"
                     "同，已停止；第二组没有标记为已用，请检查表单。");
    DrainWorkQueues();
    SetFailureLog({});
    std::string log = AnsiFromUtf8(bindings.settings.Bytes("故障记录.txt"));
    EXPECT_NE(log.find("身份证输入后读到的内容"), std::string::npos);
    EXPECT_EQ(log.find("11010519491231007"), std::string::npos);

    // The box focused at the press holds that group already: nothing goes.
    Pass(window, 800);
    size_t sent = keyboard->presses.size();
    Press();
    EXPECT_EQ(Line(), "没有输入：输入框里已有内容");
    EXPECT_EQ(keyboard->presses.size(), sent);
    EXPECT_FALSE(Marked(2));
}

// A press just after a group was typed says why it typed nothing.
TEST_F(HotKeyHandler, APressTooSoonAfterAGroupSaysSo) {
    Fill(1, "张三", "11010519491231002X", "13800138000");
    Fill(2, "李四", "110105194912310037", "13900139000");
    Start();
    Press();
    ASSERT_TRUE(Marked(1));
    bindings.typing.OnHotKey();
    EXPECT_EQ(Line(), "没有输入：刚输入完一组");
    EXPECT_FALSE(Marked(2));
    EXPECT_TRUE(PassUntil(
        window, [&] { return Line() == "下一组：第二组"; }, 3000));
}

// Only groups with text in a field the sequence types count; with none left
// a press types nothing and says so.
TEST_F(HotKeyHandler, OnlyGroupsWithTextTheSequenceTypesAreNext) {
    Fill(1, "只有名字", "", "");
    Fill(4, "", "", "13600136000");
    Start("{手机号}{ENTER}");
    EXPECT_EQ(Line(), "下一组：第四组");
    Press();
    EXPECT_EQ(keyboard->Typed(), "13600136000\n");
    EXPECT_TRUE(Marked(4));
    Pass(window, 800);
    keyboard->presses.clear();
    Press();
    EXPECT_TRUE(keyboard->presses.empty());
    EXPECT_EQ(Line(), "没有可输入的组");
}

// 设置 takes a key and a sequence that can do no harm, and stores them;
// what is refused keeps the key taken before.
TEST_F(HotKeyHandler, SetTakesSafeSettingsAndStoresThem) {
    Start();
    window.SetContent(kHotKeyBox, "ctrl + v");
    bindings.typing.OnSetClicked();
    DrainWorkQueues();
    std::vector<Message> refused = TakeMessages();
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "不能用 Ctrl+V", refused[0].text);
    EXPECT_EQ(window.GetContent(kHotKeyBox), "Ctrl+Alt+V") << "the key in force shown";
    window.SetContent(kHotKeyBox, "shift + ctrl + f9");
    window.SetContent(kSequenceBox, "{身份证}{TAB}{手机号}");
    bindings.typing.OnSetClicked();
    DrainWorkQueues();
    std::vector<Message> taken = TakeMessages();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "Ctrl+Shift+F9", taken[0].text);
    EXPECT_EQ(window.GetContent(kHotKeyBox), "Ctrl+Shift+F9") << "shown as it is stored";
    std::string file = bindings.settings.Path("信息.ini");
    EXPECT_EQ(ReadProfileItem(file, "配置", "输入热键"), "Ctrl+Shift+F9");
    EXPECT_EQ(ReadProfileItem(file, "配置", "输入顺序"), "{身份证}{TAB}{手机号}");
}

// A setting that cannot be stored: one box that says so, no "设置好了", and
// the key and sequence before in force and shown again.
TEST_F(HotKeyHandler, ASettingNotStoredSaysSoOnceAndKeepsWhatIsInForce) {
    Fill(1, "张三", "11010519491231002X", "13800138000");
    Start();
    bindings.settings.MakeReadOnly("信息.ini");
    window.SetContent(kHotKeyBox, "Ctrl+Alt+B");
    window.SetContent(kSequenceBox, "{姓名}{ENTER}");
    bindings.typing.OnSetClicked();
    DrainWorkQueues();
    std::vector<Message> boxes = TakeMessages();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "保存失败");
    EXPECT_EQ(window.GetContent(kHotKeyBox), "Ctrl+Alt+V");
    EXPECT_EQ(window.GetContent(kSequenceBox), "{姓名}{TAB}{身份证}{TAB}{手机号}");
    Pass(window, 800);
    Press();
    EXPECT_EQ(keyboard->Typed(), "张三\t11010519491231002X\t13800138000") << "the sequence before";
}

} // namespace

} // namespace orvane
