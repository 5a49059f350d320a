// "复制" and "恢复": the clipboard gets the box's text, and the buttons show
// which fields went into the form.
#include "desk.h"
#include "handlers/field_copy.h"
#include "handlers/phone_fill.h"
#include "program_bindings.h"
#include "text/ansi_literals.h"
#include "window/clipboard.h"
#include "window/component_names.h"

#include <set>
#include <vector>

namespace orvane {

namespace {

class FieldCopy : public DeskTest {
protected:
    // Every copy button except the listed ones is enabled.
    void ExpectOnlyDisabled(const std::set<std::pair<int, std::string>>& disabled) {
        for (int n = 1; n <= kGroupCount; ++n) {
            for (const std::string& key : kFieldKeys) {
                EXPECT_EQ(window.GetEnabled(CopyButtonName(n, key)), !disabled.contains({n, key}))
                    << n << " " << key;
            }
        }
    }
};

TEST_F(FieldCopy, PutsExactlyTheBoxTextOnTheClipboardAndGreysOnlyThatButton) {
    std::vector<std::string> texts = {"张三", "O'Neil Ann"};
    if (DeskHoldsAllOfGb18030()) {
        texts.emplace_back("𠮷子"); // beyond GBK: four bytes in GB18030
    }
    for (const std::string& text : texts) {
        window.SetContent(EditBoxName(3, NameKey()), text);
        RestoreGroup(window, 3);
        CopyField(window, 3, NameKey());
        EXPECT_EQ(DeskClipboardText(), text);
        ExpectOnlyDisabled({{3, NameKey()}});
    }
}

TEST_F(FieldCopy, EmptyBoxReplacesTheClipboardWithEmptyText) {
    ASSERT_TRUE(SetClipboardText("旧内容"));
    CopyField(window, 17, IdKey());
    EXPECT_EQ(DeskClipboardText(), "");
    ExpectOnlyDisabled({{17, IdKey()}});
}

TEST_F(FieldCopy, UsedMarkSurvivesEditsFillsAndProgramWrites) {
    CopyField(window, 3, NameKey());
    CopyField(window, 4, NameKey());
    window.SetContent(EditBoxName(3, NameKey()), "改过的名字");
    window.SetContent(kAllPhoneBox, "13900000000");
    FillAllPhone(window);
    FillPagePhone(window, 1);
    ExpectOnlyDisabled({{3, NameKey()}, {4, NameKey()}});
}

TEST_F(FieldCopy, RestoreEnablesOnlyItsOwnGroup) {
    for (const std::string& key : kFieldKeys) {
        CopyField(window, 3, key);
    }
    CopyField(window, 4, NameKey());
    RestoreGroup(window, 3);
    ExpectOnlyDisabled({{4, NameKey()}});
    RestoreGroup(window, 3); // nothing disabled: no change
    ExpectOnlyDisabled({{4, NameKey()}});
}

TEST_F(FieldCopy, TheButtonCopiesUntilRestored) {
    ProgramBindings bindings(window);
    window.SetContent(EditBoxName(25, PhoneKey()), "13700000025");
    Click(window, CopyButtonName(25, PhoneKey()));
    EXPECT_EQ(DeskClipboardText(), "13700000025");
    ASSERT_TRUE(SetClipboardText("别的"));
    Click(window, CopyButtonName(25, PhoneKey())); // disabled: ignored
    EXPECT_EQ(DeskClipboardText(), "别的");
    Click(window, RestoreButtonName(25));
    Click(window, CopyButtonName(25, PhoneKey()));
    EXPECT_EQ(DeskClipboardText(), "13700000025");
}

} // namespace

} // namespace orvane
