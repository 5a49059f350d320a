// The findings marked in a field whatever put its text there, and the table
// paste from a group on.
#include "app/work_queues.h"
#include "desk.h"
#include "handlers/file_handlers.h"
#include "handlers/phone_fill.h"
#include "handlers/table_paste_handler.h"
#include "program_bindings.h"
#include "storage/information_file.h"
#include "temp_folder.h"
#include "window/clipboard.h"
#include "window/component_names.h"

namespace orvane {

namespace {

class FieldMarks : public DeskTest {
protected:
    // Whether the field comes to be marked, or not, once the change in hand
    // is done.
    bool Marked(int group, const std::string& key, bool marked = true) {
        return PassUntil(
            window, [&] { return TipOf(window, EditBoxName(group, key)).empty() != marked; }, 2000);
    }
    ProgramBindings bindings{window};
    TempFolder folder;
    std::string file = folder.Path("信息.ini");
};

TEST_F(FieldMarks, ALoadAndAFillAreCheckedToo) {
    folder.Write("信息.ini", "[第四组]\r\n手机号=12345678901\r\n");
    LoadApplicants(window, FileQueue(), file);
    DrainWorkQueues();
    EXPECT_TRUE(Marked(4, PhoneKey()));
    window.SetContent(kAllPhoneBox, "13800138000");
    FillAllPhone(window);
    EXPECT_TRUE(Marked(4, PhoneKey(), false));
    EXPECT_TRUE(Marked(4, NameKey(), false)) << "an empty field has no finding";
}

// An ideographic or a no-break space around a name is invisible: marked in
// the box, left out of the copy, kept by the file.
TEST_F(FieldMarks, InvisibleBlanksAreMarkedAndNotCopied) {
    const std::string name = EditBoxName(5, NameKey());
    // U+3000 before; after, U+00A0, four bytes in GB18030, where the desktop
    // holds it.
    const std::string shown =
        DeskHoldsAllOfGb18030() ? "\xA1\xA1张三\x81\x30\x84\x32" : "\xA1\xA1张三\xA1\xA1";
    window.SetContent(name, shown);
    EXPECT_TRUE(Marked(5, NameKey()));
    Click(window, CopyButtonName(5, NameKey()));
    EXPECT_EQ(DeskClipboardText(), "张三");
    EXPECT_EQ(window.GetContent(name), shown);
    SaveApplicants(window, FileQueue(), file);
    DrainWorkQueues();
    EXPECT_EQ(ReadInformationFile(file).ValueOr({}).applicants.Field(5, NameKey()), shown);
}

class TablePaste : public FieldMarks {
protected:
    // Pastes the table from group 24 on; what the box asked.
    std::string Paste(const std::string& table, bool ok) {
        EXPECT_TRUE(SetClipboardText(table));
        AnswerBoxes(ok);
        PasteTableFromGroup(window, 24);
        std::vector<Message> shown;
        EXPECT_TRUE(PassUntil(
            window,
            [&shown] {
                std::vector<Message> more = TakeMessages();
                shown.insert(shown.end(), more.begin(), more.end());
                return !shown.empty();
            },
            3000));
        AnswerBoxes(true);
        return shown.empty() ? std::string() : shown.back().text;
    }
};

TEST_F(TablePaste, ConfirmedRowsAreWrittenAndTheRestNamed) {
    window.SetContent(EditBoxName(25, NameKey()), "旧");
    std::string said = Paste("张三\t11010519491231002X\t13800138000\n"
                             "李四\t440304200002291236\t13900139000\n"
                             "王五\t310104198001011239\t13700137000\n",
                             true);
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "第二十五组已有内容，将被覆盖", said);
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "超出第二十五组的1行不会写入", said);
    EXPECT_EQ(window.GetContent(EditBoxName(24, NameKey())), "张三");
    EXPECT_EQ(window.GetContent(EditBoxName(25, PhoneKey())), "13900139000");
}

TEST_F(TablePaste, AMalformedTableOrACancelWritesNothing) {
    std::string said = Paste("张三\t11010519491231002X\t13800138000\n李四\t13900139000\n", true);
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "第2行有2项", said);
    EXPECT_EQ(window.GetContent(EditBoxName(24, NameKey())), "");
    Paste("张三\t11010519491231002X\t13800138000\n", false);
    EXPECT_EQ(window.GetContent(EditBoxName(24, NameKey())), "") << "cancelled";
}

} // namespace

} // namespace orvane
