// Which group the hot key types next, and how typing it marks it.
#include "desk.h"
#include "handlers/field_copy.h"
#include "handlers/next_applicant.h"
#include "program_bindings.h"
#include "window/component_names.h"

#include <gtest/gtest.h>

namespace orvane {

namespace {

TEST(NextApplicant, TheFirstGroupWithTextNotAllUsed) {
    EXPECT_EQ(NextGroupToType({{false, false}, {true, true}, {true, false}, {true, false}}), 3);
    EXPECT_EQ(NextGroupToType({{false, false}, {true, true}}), std::nullopt);
    EXPECT_EQ(NextGroupToType({}), std::nullopt);
}

// Blanks are no text; one field copied leaves the group next; typing greys
// all three, and "恢复" makes the group next again.
class NextApplicantShown : public DeskTest {};

TEST_F(NextApplicantShown, AsTheWindowShowsTheGroups) {
    ProgramBindings bindings(window);
    std::vector<std::string> all(kFieldKeys.begin(), kFieldKeys.end());
    window.SetContent(EditBoxName(1, NameKey()), "\xA1\xA1 "); // U+3000 and a space
    window.SetContent(EditBoxName(2, PhoneKey()), "13800138000");
    window.SetContent(EditBoxName(4, NameKey()), "李四");
    CopyField(window, 2, PhoneKey());
    EXPECT_EQ(NextGroupToType(window, all), 2);
    MarkGroupTyped(window, 2);
    for (const std::string& key : kFieldKeys) {
        EXPECT_FALSE(window.GetEnabled(CopyButtonName(2, key))) << key;
    }
    EXPECT_EQ(NextGroupToType(window, all), 4);
    RestoreGroup(window, 2);
    EXPECT_EQ(NextGroupToType(window, all), 2);
}

} // namespace

} // namespace orvane
