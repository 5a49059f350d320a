// The Windows window, driven in-process by messages as a user's clicks and
// typing arrive, under Wine.
#include "app/work_queues.h"
#include "handlers/file_handlers.h"
#include "program_bindings.h"
#include "runtime/wide_text.h"
#include "temp_folder.h"
#include "win32/win32_window.h"
#include "window/clipboard.h"
#include "window/component_names.h"
#include "window/window_thread.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace orvane {

namespace {

std::string TextOf(HWND control) {
    wchar_t text[256] = {};
    GetWindowTextW(control, text, 256);
    return AnsiFromWide(text);
}

class Win32Desktop : public testing::Test {
protected:
    HWND Control(const std::string& name) { return window.ComponentHandle(name); }
    Win32Window window;
};

TEST_F(Win32Desktop, TheWindowIsBuiltFromTheLayoutWithItsChineseCaptions) {
    EXPECT_EQ(TextOf(Control(CopyButtonName(1, NameKey()))), "复制");
    EXPECT_EQ(TextOf(Control(RestoreButtonName(25))), "恢复");
    EXPECT_EQ(SendMessageW(Control(kPageControl), TCM_GETITEMCOUNT, 0, 0), 6);
    RECT client{};
    GetClientRect(window.Handle(), &client);
    EXPECT_EQ(client.right, 315);
    EXPECT_EQ(client.bottom, 671);
}

TEST_F(Win32Desktop, ACopyClickPutsTheFieldOnTheClipboardMarkedSecretAndGreysTheButton) {
    ProgramBindings bindings(window);
    window.SetContent(EditBoxName(3, NameKey()), "张三");
    SendMessageW(Control(CopyButtonName(3, NameKey())), BM_CLICK, 0, 0);
    EXPECT_EQ(GetClipboardText(), "张三");
    EXPECT_FALSE(IsWindowEnabled(Control(CopyButtonName(3, NameKey()))));
    EXPECT_TRUE(IsWindowEnabled(Control(CopyButtonName(3, IdKey()))));
    EXPECT_TRUE(
        IsClipboardFormatAvailable(RegisterClipboardFormatW(L"CanIncludeInClipboardHistory")));
    SendMessageW(Control(RestoreButtonName(3)), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(Control(CopyButtonName(3, NameKey()))));
}

TEST_F(Win32Desktop, TypingStopsAtTheBoxesByteLimit) {
    HWND id = Control(EditBoxName(1, IdKey()));
    for (int i = 0; i < 20; ++i) {
        SendMessageW(id, WM_CHAR, L'1', 0);
    }
    EXPECT_EQ(window.GetContent(EditBoxName(1, IdKey())), std::string(18, '1'));
    HWND phone = Control(EditBoxName(1, PhoneKey()));
    for (int i = 0; i < 6; ++i) {
        SendMessageW(phone, WM_CHAR, L'中', 0); // two bytes each in GBK
    }
    EXPECT_EQ(window.GetContent(EditBoxName(1, PhoneKey())).size(), 10u);
}

TEST_F(Win32Desktop, SaveAndLoadGiveTheWindowsProfileBytes) {
    TempFolder folder;
    std::string file = folder.Path("信息.ini");
    window.SetContent(EditBoxName(1, NameKey()), "张三");
    SaveApplicants(window, FileQueue(), file);
    DrainWorkQueues();
    const std::string start = "[第一组]\r\n姓名=张三\r\n身份证=\r\n手机号=\r\n[第二组]\r\n";
    EXPECT_EQ(folder.Bytes("信息.ini").substr(0, start.size()), start);
    Win32Window other;
    LoadApplicants(other, FileQueue(), file);
    DrainWorkQueues();
    EXPECT_EQ(other.GetContent(EditBoxName(1, NameKey())), "张三");
}

TEST_F(Win32Desktop, AFindingMarksTheBoxWithItsTooltip) {
    HWND tips = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
    ASSERT_NE(tips, nullptr);
    int before = int(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0));
    window.SetFinding(EditBoxName(2, IdKey()), "校验位不对");
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), before + 1);
    window.SetFinding(EditBoxName(2, IdKey()), "");
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), before);
}

} // namespace

} // namespace orvane
