// "底部时间" switches the clock's ticker off and on.
#include "desk.h"
#include "program_bindings.h"
#include "window/component_names.h"

namespace orvane {

namespace {

class TimeSwitch : public DeskTest {
protected:
    ProgramBindings bindings{window};
};

// A stopped panel is no frozen countdown: it says it is stopped.
TEST_F(TimeSwitch, StopsAndResumesTheClockAndThePanelSaysSo) {
    window.SetStatusPanelText(kStatusBar, kTimePanel, "     距开始 00:00:12");
    Click(window, kTimeToggleButton);
    EXPECT_EQ(window.GetInterval(kTicker), 0);
    Click(window, kTimeToggleButton);
    EXPECT_EQ(window.GetInterval(kTicker), 900);
    Click(window, kTimeToggleButton);
    EXPECT_EQ(window.GetInterval(kTicker), 0);
    EXPECT_EQ(PanelTextOf(window, kTimePanel), "     底部时间已停止");
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "不倒数", PanelTipOf(window, kTimePanel));
}

} // namespace

} // namespace orvane
