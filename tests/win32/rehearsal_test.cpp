// 演练 under Wine: orvane.exe as the practice form, 演练 clicked and the
// hot key held as a hand holds it, through SendInput. The press arrives
// right and says so, no group is marked, and the verdict goes to the
// failure log once the form is closed.
#include "app/work_queues.h"
#include "files/failure_log.h"
#include "program_bindings.h"
#include "text/unicode_text.h"
#include "text/wide_text.h"
#include "win32/win32_window.h"
#include "win32_input.h"
#include "window/component_names.h"
#include "window/global_typing.h"

#include <commctrl.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

namespace orvane {

namespace {

using namespace std::chrono_literals;

// The machine's time, from the Linux side's test server.
std::string TimeServer() {
    const char* server = std::getenv("ORVANE_TEST_HTTP");
    return server != nullptr ? std::string(server) + "/now" : kNoTimeServer;
}

class RehearsalOnWindows : public testing::Test {
protected:
    void SetUp() override {
        SetFailureLog(bindings.settings.Path("故障记录.txt"));
        window.SetContent(EditBoxName(1, NameKey()), "张三");
        window.SetContent(EditBoxName(1, IdKey()), "11010519491231002X");
        window.SetContent(EditBoxName(1, PhoneKey()), "13800138000");
        window.SetContent(EditBoxName(2, NameKey()), "李四");
        bindings.StartSettings(); // Ctrl+Alt+V, Tab between the fields
        window.SelectPage(5);     // 配置
        window.ShowCentered();
        SetForegroundWindow(window.Handle());
    }
    void TearDown() override { SetFailureLog({}); }
    std::string Panel(int panel) {
        wchar_t text[256] = {};
        SendMessageW(window.ComponentHandle(kStatusBar), SB_GETTEXTW, panel, LPARAM(text));
        return AnsiFromWide(text);
    }
    // The form's first box: the edit box nearest its top.
    static HWND TopBox(HWND form) {
        HWND top = nullptr;
        RECT topBox{};
        for (HWND box = FindWindowExW(form, nullptr, L"Edit", nullptr); box != nullptr;
             box = FindWindowExW(form, box, L"Edit", nullptr)) {
            RECT at{};
            GetWindowRect(box, &at);
            if (top == nullptr || at.top < topBox.top) {
                top = box;
                topBox = at;
            }
        }
        return top;
    }
    bool Unmarked() {
        return window.GetEnabled(CopyButtonName(1, NameKey())) &&
               window.GetEnabled(CopyButtonName(1, PhoneKey()));
    }

    Win32Window window;
    ProgramBindings bindings{window, TimeServer(), OpenKeyboard(window),
                             PracticeProcess("..\\orvane.exe"), 2s};
};

TEST_F(RehearsalOnWindows, AHeldChordInThePracticeFormIsToldRight) {
    ASSERT_NE(std::getenv("ORVANE_TEST_HTTP"), nullptr) << "run by scripts/test-windows.sh";
    ASSERT_TRUE(PumpUntil([&] { return Panel(kTimePanel).find("年") != std::string::npos; }, 10000))
        << Panel(kTimePanel);
    ClickOn(window.ComponentHandle(kRehearseButton));
    HWND form = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] {
            form =
                FindWindowW(nullptr, WideFromAnsi("演练表单 - Orvane（不是银行的网页）").c_str());
            return form != nullptr && IsWindowVisible(form);
        },
        15000))
        << Panel(kTypingPanel);
    ASSERT_TRUE(PumpUntil([&] { return Panel(kTypingPanel).starts_with("演练开始"); }, 10000))
        << Panel(kTypingPanel);
    SetForegroundWindow(form);
    ClickOn(TopBox(form));
    PumpUntil([] { return false; }, 300);
    std::thread hand([] { PressAndHold({VK_CONTROL, VK_MENU, 'V'}, 1000); });
    bool told = PumpUntil([&] { return Panel(kTypingPanel).starts_with("第一组 "); }, 15000);
    hand.join();
    EXPECT_TRUE(told) << Panel(kTypingPanel);
    EXPECT_TRUE(Panel(kTypingPanel).starts_with("第一组 正确，松开按键后 ")) << Panel(kTypingPanel);
    EXPECT_TRUE(Unmarked()) << "a rehearsal marks nothing";
    PostMessageW(form, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return Panel(kTypingPanel).starts_with("演练通过："); }, 5000))
        << Panel(kTypingPanel);
    DrainWorkQueues();
    std::string log = AnsiFromUtf8(bindings.settings.Bytes("故障记录.txt"));
    EXPECT_NE(log.find("演练通过：1 组全部正确"), std::string::npos) << log;
    EXPECT_EQ(log.find("张三"), std::string::npos);
}

} // namespace

} // namespace orvane
