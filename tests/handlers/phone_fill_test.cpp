#include "desk.h"
#include "handlers/phone_fill.h"
#include "text/ansi_literals.h"
#include "window/component_names.h"

namespace orvane {

namespace {

class PhoneFill : public DeskTest {
protected:
    void SetUp() override {
        for (int n = 1; n <= kGroupCount; ++n) {
            window.SetContent(EditBoxName(n, PhoneKey()), "old" + std::to_string(n));
            window.SetContent(EditBoxName(n, NameKey()), "name" + std::to_string(n));
        }
    }
    std::string Phone(int n) { return window.GetContent(EditBoxName(n, PhoneKey())); }
};

TEST_F(PhoneFill, PageFillTouchesExactlyItsFiveGroups) {
    for (int page = 1; page <= 5; ++page) {
        SetUp();
        std::string text = "1380000000" + std::to_string(page);
        window.SetContent(PagePhoneBoxName(page), text);
        FillPagePhone(window, page);
        for (int n = 1; n <= kGroupCount; ++n) {
            bool target = PageOfGroup(n) == page;
            EXPECT_EQ(Phone(n), target ? text : "old" + std::to_string(n)) << page << "/" << n;
            EXPECT_EQ(window.GetContent(EditBoxName(n, NameKey())), "name" + std::to_string(n));
        }
        EXPECT_EQ(window.GetContent(PagePhoneBoxName(page)), text);
    }
}

TEST_F(PhoneFill, TextIsCopiedUnchanged) {
    for (const std::string& text :
         {std::string("13800138000123456"), std::string(" 138 abc 转 "), std::string("")}) {
        window.SetContent(PagePhoneBoxName(2), text);
        FillPagePhone(window, 2);
        for (int n = 6; n <= 10; ++n) {
            EXPECT_EQ(Phone(n), text);
        }
    }
}

TEST_F(PhoneFill, AllFillWritesAllTwentyFiveAndEmptyClearsThem) {
    window.SetContent(kAllPhoneBox, "15000000000");
    FillAllPhone(window);
    for (int n = 1; n <= kGroupCount; ++n) {
        EXPECT_EQ(Phone(n), "15000000000");
    }
    window.SetContent(kAllPhoneBox, "");
    FillAllPhone(window);
    for (int n = 1; n <= kGroupCount; ++n) {
        EXPECT_EQ(Phone(n), "");
    }
}

} // namespace

} // namespace orvane
