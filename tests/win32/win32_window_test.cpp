// The Windows window, driven in-process by messages as a user's clicks and
// typing arrive, under Wine.
#include "app/event_bindings.h"
#include "app/work_queues.h"
#include "files/native_path.h"
#include "handlers/clock_display.h"
#include "handlers/countdown_settings.h"
#include "handlers/file_handlers.h"
#include "profile/profile_file.h"
#include "program_bindings.h"
#include "storage/information_file.h"
#include "temp_folder.h"
#include "text/wide_text.h"
#include "timer_ends.h"
#include "win32/win32_window.h"
#include "win32_input.h"
#include "window/clipboard.h"
#include "window/component_names.h"
#include "window/global_typing.h"
#include "window/window_thread.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <imm.h>
#include <oleacc.h>
#include <psapi.h>
#include <stdexcept>
#include <thread>

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
    // On the screen and in front, where the user's hand reaches it.
    void Show() {
        window.ShowCentered();
        SetForegroundWindow(window.Handle());
    }
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
    Show();
    window.SetContent(EditBoxName(3, NameKey()), "张三");
    ClickOn(Control(CopyButtonName(3, NameKey())));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowEnabled(Control(CopyButtonName(3, NameKey()))); }));
    EXPECT_EQ(ClipboardText(), "张三");
    EXPECT_TRUE(IsWindowEnabled(Control(CopyButtonName(3, IdKey()))));
    EXPECT_TRUE(
        IsClipboardFormatAvailable(RegisterClipboardFormatW(L"CanIncludeInClipboardHistory")));
    ClickOn(Control(RestoreButtonName(3)));
    EXPECT_TRUE(PumpUntil([&] { return IsWindowEnabled(Control(CopyButtonName(3, NameKey()))); }));
}

TEST_F(Win32Desktop, TypingStopsAtTheBoxesByteLimit) {
    Show();
    ClickOn(Control(EditBoxName(1, IdKey())));
    TypeKeys(std::string(20, '1'));
    PumpUntil([] { return false; }, 500); // every key has arrived
    EXPECT_EQ(window.GetContent(EditBoxName(1, IdKey())), std::string(18, '1'));
    ClickOn(Control(EditBoxName(1, PhoneKey())));
    for (int i = 0; i < 6; ++i) {
        TypeCharacter(L'中'); // two bytes each in GBK
    }
    PumpUntil([] { return false; }, 500);
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

// The opening time counts once confirmed: typed, it is not yet stored;
// Enter stores it as HH:MM:SS.
TEST_F(Win32Desktop, TheOpeningTimeCountsOnceConfirmedWithEnter) {
    ProgramBindings bindings(window);
    std::string file = bindings.settings.Path("信息.ini");
    bindings.countdown.Start(bindings.Stored());
    window.SelectPage(5);
    Show();
    ClickOn(Control(kOpeningTimeBox));
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == Control(kOpeningTimeBox); }));
    for (wchar_t key : std::wstring(L"9:30")) {
        TypeCharacter(key);
    }
    ASSERT_TRUE(PumpUntil([&] { return window.GetContent(kOpeningTimeBox) == "9:30"; }));
    DrainWorkQueues();
    EXPECT_EQ(ReadProfileItem(file, "配置", "开始时间"), "");
    PressChord({VK_RETURN});
    auto keys = [&](const MSG& message) { return window.HandleKey(message); };
    EXPECT_TRUE(
        PumpUntil([&] { return window.GetContent(kOpeningTimeBox) == "09:30:00"; }, 3000, keys));
    DrainWorkQueues();
    EXPECT_EQ(ReadProfileItem(file, "配置", "开始时间"), "09:30:00");
}

TEST_F(Win32Desktop, AFindingMarksTheBoxWithItsTooltip) {
    HWND tips = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
    ASSERT_NE(tips, nullptr);
    HWND box = Control(EditBoxName(2, IdKey()));
    auto tip = [&] {
        wchar_t text[256] = {};
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.hwnd = window.Handle();
        info.uId = UINT_PTR(box);
        info.lpszText = text;
        SendMessageW(tips, TTM_GETTEXTW, std::size(text), LPARAM(&info));
        return AnsiFromWide(text);
    };
    int before = int(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0));
    window.SetFinding(EditBoxName(2, IdKey()), "身份证号码应为18位，现在是1位");
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), before + 1);
    window.SetFinding(EditBoxName(2, IdKey()), "校验位不对");
    EXPECT_EQ(tip(), "校验位不对") << "each new text, shorter ones too";
    window.SetFinding(EditBoxName(2, IdKey()), "");
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), before);
}

// Ctrl+V pressed as the user presses it: a spreadsheet cell lands exactly,
// more lines keep the first one and say so; a clipboard another program
// holds open is told after a second, and the window answers clicks all the
// while.
TEST_F(Win32Desktop, PastesKeepOneLineAndAHeldClipboardNeverHoldsTheWindow) {
    ProgramBindings bindings(window);
    Show();
    const std::string name = EditBoxName(1, NameKey());
    const std::string id = EditBoxName(1, IdKey());
    SetFocus(Control(id));
    PutOnClipboard(L"11010519491231002X\r\n");
    PressChord({VK_CONTROL, 'V'});
    EXPECT_TRUE(PumpUntil([&] { return window.GetContent(id) == "11010519491231002X"; }));
    EXPECT_EQ(window.PasteNote(id), "");

    SetFocus(Control(name));
    PutOnClipboard(L"\u5f20\u4e09\r\n[\u7b2c\u4e8c\u7ec4]\r\nx=1");
    PressChord({VK_CONTROL, 'V'});
    EXPECT_TRUE(PumpUntil([&] { return window.GetContent(name) == "张三"; }));
    EXPECT_EQ(window.PasteNote(name), "粘贴内容有多行，只保留了第一行");

    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, L"OrvaneClipboardHeld");
    wchar_t command[] = L"clipboard_holder.exe OrvaneClipboardHeld";
    STARTUPINFOW start{sizeof start};
    PROCESS_INFORMATION holder{};
    ASSERT_TRUE(CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &start, &holder));
    ASSERT_EQ(WaitForSingleObject(held, 10000), WAIT_OBJECT_0);
    // The box comes in a loop of its own; the user answers it.
    std::atomic<bool> told = false;
    std::thread user([&told] {
        for (int tries = 0; tries < 500 && !told; ++tries, Sleep(10)) {
            if (HWND box = FindWindowW(nullptr, L"\u7c98\u8d34")) {
                told = true;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
        }
    });
    SetFocus(Control(name));
    PressChord({VK_CONTROL, 'V'});
    window.SetEnabled(CopyButtonName(2, NameKey()), false);
    auto clicked = std::chrono::steady_clock::now();
    ClickOn(Control(RestoreButtonName(2)));
    EXPECT_TRUE(PumpUntil([&] { return IsWindowEnabled(Control(CopyButtonName(2, NameKey()))); }));
    EXPECT_LT(std::chrono::steady_clock::now() - clicked, std::chrono::milliseconds(300));
    EXPECT_TRUE(PumpUntil([&] { return told.load(); }, 5000)) << "剪贴板没有响应";
    user.join();
    // A copy the clipboard refused reached no form: its field is not marked.
    window.SetEnabled(CopyButtonName(2, NameKey()), false);
    ClickOn(Control(CopyButtonName(1, NameKey())));
    ClickOn(Control(RestoreButtonName(2))); // handled after the copy
    EXPECT_TRUE(PumpUntil([&] { return IsWindowEnabled(Control(CopyButtonName(2, NameKey()))); }));
    EXPECT_TRUE(IsWindowEnabled(Control(CopyButtonName(1, NameKey()))));
    WaitForSingleObject(holder.hProcess, 10000);
    CloseHandle(holder.hProcess);
    CloseHandle(holder.hThread);
    EXPECT_EQ(window.GetContent(name), "张三") << "nothing pasted";
}

// Every kind of control, clicked with the mouse at its place on the screen,
// does what it does on Linux, and stays where clicks reach it whichever page
// is shown.
TEST_F(Win32Desktop, EveryControlTakesARealClick) {
    std::string file = InformationFilePath();
    DeleteFileW(PathOf(file).c_str());
    ProgramBindings bindings(window);
    Show();
    auto click = [&](const std::string& name, const std::function<bool()>& done) {
        EXPECT_EQ(HitAt(Control(name)), Control(name)) << name << " is covered";
        ClickOn(Control(name));
        EXPECT_TRUE(PumpUntil(done)) << name;
    };
    const std::string name = EditBoxName(1, NameKey());
    window.SetContent(name, "张三");
    click(CopyButtonName(1, NameKey()),
          [&] { return !IsWindowEnabled(Control(CopyButtonName(1, NameKey()))); });
    EXPECT_EQ(ClipboardText(), "张三");
    click(RestoreButtonName(1),
          [&] { return IsWindowEnabled(Control(CopyButtonName(1, NameKey()))); });
    click(kSaveButton, [&] {
        return ReadInformationFile(file).ValueOr({}).applicants.Field(1, NameKey()) == "张三";
    });
    window.SetContent(name, "改了");
    click(kLoadButton, [&] { return window.GetContent(name) == "张三"; });
    click(kRememberBox, [&] { return ReadProfileItem(file, "配置", "记住配置") == "真"; });
    // Wine without a window manager keeps no topmost band to read back: the
    // click is seen reaching the bound handlers.
    int topmostClicks = 0;
    window.Bind(kTopmostBox, Window::Event::Click, [&] { ++topmostClicks; });
    click(kTopmostBox, [&] { return topmostClicks == 1 && window.GetTicked(kTopmostBox); });

    HWND tabs = Control(kPageControl);
    for (int page : {1, 2, 3, 4, 0, 5}) {
        RECT tab{};
        SendMessageW(tabs, TCM_GETITEMRECT, WPARAM(page), LPARAM(&tab));
        MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&tab), 2);
        ClickAt((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
        EXPECT_TRUE(PumpUntil([&] { return window.CurrentPage() == page; })) << page;
        for (const std::string& shown : {kSaveButton, kLoadButton}) {
            EXPECT_EQ(HitAt(Control(shown)), Control(shown)) << shown << " on page " << page;
        }
    }
    click(PagePhoneBoxName(2), [&] { return GetFocus() == Control(PagePhoneBoxName(2)); });
    TypeKeys("13900139000");
    EXPECT_TRUE(PumpUntil([&] { return window.GetContent(PagePhoneBoxName(2)) == "13900139000"; }));
    click(PagePhoneButtonName(2),
          [&] { return window.GetContent(EditBoxName(8, PhoneKey())) == "13900139000"; });
    click(kTimeToggleButton, [&] { return window.GetInterval(kTicker) == 0; });
    click(kTimeToggleButton, [&] { return window.GetInterval(kTicker) == kTickerInterval; });
    DeleteFileW(PathOf(file).c_str());
}

// The keyboard reaches every field: the focus starts in the shown page's
// first field, Tab goes through the page in reading order and on to the
// window's buttons, Ctrl+Tab turns the page, Enter presses a button.
TEST_F(Win32Desktop, TheKeyboardReachesEveryField) {
    ProgramBindings bindings(window);
    window.FocusComponent(kAllPhoneBox); // as the start does, on a page not shown
    Show();
    auto keys = [&](const MSG& message) { return window.HandleKey(message); };
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == Control(EditBoxName(1, NameKey())); }));
    std::vector<HWND> reached = {GetFocus()};
    do { // 35 in the groups, 2 check boxes, 2 buttons, and round again
        PressChord({VK_TAB});
        PumpUntil([&] { return GetFocus() != reached.back(); }, 1000, keys);
        reached.push_back(GetFocus());
    } while (reached.back() != reached.front() && reached.size() < 60);
    EXPECT_EQ(reached.size(), 40u);
    const std::vector<std::string> start = {EditBoxName(1, NameKey()), RestoreButtonName(1),
                                            CopyButtonName(1, NameKey()), EditBoxName(1, IdKey()),
                                            CopyButtonName(1, IdKey())};
    for (size_t i = 0; i < start.size(); ++i) {
        EXPECT_EQ(reached[i], Control(start[i])) << start[i];
    }
    for (int group = 1; group <= 5; ++group) {
        for (const std::string& key : kFieldKeys) {
            EXPECT_NE(std::find(reached.begin(), reached.end(), Control(EditBoxName(group, key))),
                      reached.end());
        }
    }
    EXPECT_NE(std::find(reached.begin(), reached.end(), Control(kSaveButton)), reached.end());
    EXPECT_EQ(reached[38], Control(kLoadButton)) << "the window's buttons last";

    PressChord({VK_CONTROL, VK_TAB});
    EXPECT_TRUE(PumpUntil([&] { return window.CurrentPage() == 1; }, 3000, keys));
    EXPECT_EQ(GetFocus(), Control(EditBoxName(6, NameKey())));
    window.SetEnabled(CopyButtonName(6, NameKey()), false);
    SetFocus(Control(RestoreButtonName(6)));
    PressChord({VK_RETURN});
    EXPECT_TRUE(PumpUntil([&] { return IsWindowEnabled(Control(CopyButtonName(6, NameKey()))); },
                          3000, keys));
}

// A timer's task that throws stops the run as on every desktop: the box
// "错误", then the message loop ends with -1, its box's loop and all.
TEST(Win32FatalErrorDeathTest, AThrowingTaskStopsTheRunWithMinusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto run = [] {
        Win32Window window;
        std::thread closer([] {
            for (int i = 0; i < 1000; ++i) {
                if (HWND box = FindWindowW(nullptr, L"\u9519\u8bef")) {
                    std::fputs("[box]\n", stderr);
                    PostMessageW(box, WM_COMMAND, IDOK, 0);
                    return;
                }
                Sleep(20);
            }
        });
        window.RunAfter(10, [] { throw std::runtime_error("坏了"); });
        int code = window.RunMessageLoop();
        closer.join();
        std::_Exit(code); // the loop's code, with the window as the run left it
    };
    EXPECT_EXIT(run(), testing::ExitedWithCode(-1), "\\[box\\]");
}

TEST_F(Win32Desktop, ATimersTasksEndWithIt) {
    ExpectTimerTasksEndWithTheTimer(window, [](const std::function<bool()>& held, int limit) {
        return PumpUntil(held, limit);
    });
}

// The clock arms a single shot a second, each arming the next, and the
// typing two a key: a window left open the night before an opening runs
// tens of thousands. Each one's timer goes once it fired: after a warm-up
// (the heap grows to its working size in steps of about 1 MiB), 40 000
// more cost no more than one such step, where kept timers would take 4 MiB.
TEST_F(Win32Desktop, SingleShotsFreeTheirTimers) {
    auto committed = [] {
        PROCESS_MEMORY_COUNTERS counters{};
        GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
        return double(counters.PagefileUsage);
    };
    auto chain = [&](int shots) {
        int ran = 0;
        std::function<void()> next = [&] {
            if (++ran < shots) {
                window.RunAfter(0, next);
            }
        };
        window.RunAfter(0, next);
        EXPECT_TRUE(PumpUntil([&] { return ran == shots; }, 120000)) << ran;
    };
    chain(20000);
    double before = committed();
    chain(40000);
    double grown = committed() - before;
    std::printf("40000 single shots, one after another, grew committed memory by %.0f KiB\n",
                grown / 1024);
    EXPECT_LT(grown, 2048.0 * 1024);
}

// At the screen's DPI the window is the table scaled: run with the Wine
// prefix at that DPI and ORVANE_TEST_DPI naming it (scripts/test-windows.sh).
TEST(Win32Dpi, TheWindowIsTheTableScaled) {
    const char* wanted = std::getenv("ORVANE_TEST_DPI");
    if (wanted == nullptr) {
        GTEST_SKIP() << "run at another DPI by scripts/test-windows.sh";
    }
    int dpi = std::stoi(wanted);
    Win32Window window;
    ASSERT_EQ(int(GetDpiForWindow(window.Handle())), dpi);
    RECT client{};
    GetClientRect(window.Handle(), &client);
    EXPECT_EQ(client.right, Scaled(MainWindowFrame().clientWidth, dpi));
    EXPECT_EQ(client.bottom, Scaled(MainWindowFrame().clientHeight, dpi));
    for (const ComponentRow& row : MainWindowLayout()) {
        if (row.name != kSaveButton && row.name != GroupBoxName(3)) {
            continue;
        }
        HWND control = window.ComponentHandle(row.name);
        RECT box{};
        GetWindowRect(control, &box);
        MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&box), 2);
        Geometry g = PlacedGeometry(row, WindowFit{.dpi = dpi});
        EXPECT_EQ(box.left, g.left) << row.name;
        EXPECT_EQ(box.top, g.top) << row.name;
        EXPECT_EQ(box.right - box.left, g.width) << row.name;
        EXPECT_EQ(box.bottom - box.top, g.height) << row.name;
    }
    LOGFONTW font{};
    GetObjectW(HFONT(SendMessageW(window.ComponentHandle(kSaveButton), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -Scaled(12, dpi));
}

// A screen whose work area the window at the screen's DPI would not fit
// (1280×720 at 150 %, 1366×768 at 125 %, 1920×1080 at 150 %, each less a
// taskbar): the window keeps the screen's DPI, its text 9 pt, and its pages
// scroll; 保存配置 and the status bar stay inside and take a real click, and
// a box focused at the foot of a page is scrolled into view.
// (Wine sends no WM_SETTINGCHANGE for a new work area: the fit on a change
// is not tried here.)
TEST(Win32Fit, TheWindowFitsTheWorkArea) {
    const char* wanted = std::getenv("ORVANE_TEST_WORK_HEIGHT");
    if (wanted == nullptr) {
        GTEST_SKIP() << "run on a small work area by scripts/test-windows.sh";
    }
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), std::stoi(wanted)};
    RECT before{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &before, 0);
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, SPIF_SENDCHANGE));
    TempFolder folder;
    std::string file = folder.Path("信息.ini");
    Win32Window window;
    window.Bind(kSaveButton, Window::Event::Click,
                [&] { SaveApplicants(window, FileQueue(), file); });
    window.SetContent(EditBoxName(1, NameKey()), "张三");
    window.ShowCentered();
    SetForegroundWindow(window.Handle());
    auto box = [&](const std::string& name) {
        RECT place{};
        GetWindowRect(window.ComponentHandle(name), &place);
        return place;
    };
    auto inside = [&](RECT place) { return place.top >= work.top && place.bottom <= work.bottom; };
    RECT outer{};
    GetWindowRect(window.Handle(), &outer);
    EXPECT_TRUE(inside(outer));
    EXPECT_TRUE(inside(box(kSaveButton)));
    EXPECT_TRUE(inside(box(kStatusBar)));
    EXPECT_LE(box(kSaveButton).bottom, box(kStatusBar).top) << "the status bar covers no button";
    int dpi = int(GetDpiForWindow(window.Handle()));
    LOGFONTW font{};
    GetObjectW(HFONT(SendMessageW(window.ComponentHandle(kSaveButton), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -Scaled(12, dpi)) << "9 pt at the screen's DPI";
    SCROLLINFO scroll{sizeof scroll, SIF_ALL};
    GetScrollInfo(window.ComponentHandle(kPageControl + "_1"), SB_VERT, &scroll);
    EXPECT_LT(int(scroll.nPage), scroll.nMax + 1) << "the page scrolls";
    std::printf("%d DPI, work area %d high: window %ld high, page %u of %d\n", dpi,
                int(work.bottom), outer.bottom - outer.top, scroll.nPage, scroll.nMax + 1);

    ClickOn(window.ComponentHandle(kSaveButton));
    EXPECT_TRUE(PumpUntil([&] {
        DrainWorkQueues();
        return ReadProfileItem(file, "第一组", "姓名") == "张三";
    }));
    window.FocusComponent(EditBoxName(5, PhoneKey()));
    RECT page = box(kPageControl + "_1");
    RECT phone = box(EditBoxName(5, PhoneKey()));
    EXPECT_GE(phone.top, page.top);
    EXPECT_LE(phone.bottom, page.bottom);
    EXPECT_LE(phone.bottom, box(kSaveButton).top);
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &before, SPIF_SENDCHANGE);
}

// A screen reader tells the 75 "复制" apart, and hears a field's finding.
TEST_F(Win32Desktop, ScreenReadersHearWhichControlItIs) {
    auto read = [&](const std::string& name, bool description) {
        IAccessible* object = nullptr;
        if (FAILED(AccessibleObjectFromWindow(Control(name), DWORD(OBJID_CLIENT),
                                              __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&object)))) {
            return std::string("?");
        }
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR text = nullptr;
        description ? object->get_accDescription(self, &text) : object->get_accName(self, &text);
        std::string ansi = text != nullptr ? AnsiFromWide(text) : std::string();
        SysFreeString(text);
        object->Release();
        return ansi;
    };
    EXPECT_EQ(read(CopyButtonName(3, NameKey()), false), "第三组 姓名 复制");
    EXPECT_EQ(read(CopyButtonName(21, PhoneKey()), false), "第二十一组 手机号 复制");
    EXPECT_EQ(read(RestoreButtonName(7), false), "第七组 恢复");
    EXPECT_EQ(read(EditBoxName(3, NameKey()), false), "第三组 姓名");
    // On 配置 each box by its own row's label, each 设置 by its row.
    EXPECT_EQ(read(PagePhoneBoxName(1), false), "第一页手机号");
    EXPECT_EQ(read(kAllPhoneBox, false), "全部手机号");
    EXPECT_EQ(read(PagePhoneButtonName(2), false), "第二页 设置");
    EXPECT_EQ(read(kAllPhoneButton, false), "全部 设置");
    EXPECT_EQ(read(kHotKeyBox, false), "输入热键");
    EXPECT_EQ(read(kTypingButton, false), "输入热键 设置");
    EXPECT_EQ(read(kSequenceBox, false), "输入顺序");
    window.SetFinding(EditBoxName(2, IdKey()), "校验位不对");
    EXPECT_EQ(read(EditBoxName(2, IdKey()), true), "校验位不对");
}

// Typing into another process's form (form_holder.exe): the fields and the
// report of its input method read back as another program reads them.
class HotKeyTyping : public Win32Desktop {
protected:
    void SetUp() override {
        Show();
        // Wine has no code page 54936 and falls back to GBK, which holds
        // nothing beyond the BMP; Windows has it.
        bool beyondBmp = IsValidCodePage(54936) != FALSE;
        window.SetContent(EditBoxName(1, NameKey()), beyondBmp ? "吉𠮷祥" : "吉祥");
        name = beyondBmp ? L"\u5409\U00020BB7\u7965" : L"\u5409\u7965";
        window.SetContent(EditBoxName(1, IdKey()), "11010519491231002X");
        window.SetContent(EditBoxName(1, PhoneKey()), "13800138000");
        window.SetContent(EditBoxName(2, NameKey()), "李四");
        boxes = std::thread([this] {
            for (; !done; Sleep(10)) {
                if (HWND box = FindWindowW(nullptr, L"\u8f93\u5165\u70ed\u952e")) {
                    told = true;
                    PostMessageW(box, WM_COMMAND, IDOK, 0);
                }
            }
        });
        bindings.StartSettings(); // Ctrl+Alt+V, Tab between the fields
    }
    void TearDown() override {
        done = true;
        boxes.join();
        EXPECT_FALSE(told.load()) << "no box: the key was free";
        TerminateProcess(form.hProcess, 0);
        CloseHandle(form.hProcess);
        CloseHandle(form.hThread);
    }
    // Ready once in front with its first field focused.
    void StartForm(const wchar_t* inputMethod) {
        std::wstring command = std::wstring(L"form_holder.exe ") + inputMethod;
        STARTUPINFOW start{sizeof start};
        ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &start, &form));
        ASSERT_TRUE(PumpUntil(
            [&] {
                GUITHREADINFO info{sizeof info};
                page = FindWindowW(nullptr, L"OrvaneForm");
                return page != nullptr && page == GetForegroundWindow() &&
                       GetGUIThreadInfo(form.dwThreadId, &info) &&
                       info.hwndFocus == GetDlgItem(page, 1) && info.hwndFocus != nullptr &&
                       Field(4).starts_with(L"open=");
            },
            10000));
    }
    // Another process's control answers WM_GETTEXT; GetWindowText would
    // give only a caption.
    std::wstring Field(int id) {
        wchar_t text[64] = {};
        SendMessageW(GetDlgItem(page, id), WM_GETTEXT, 64, LPARAM(text));
        return text;
    }
    std::wstring Fields() { return Field(1) + L"|" + Field(2) + L"|" + Field(3); }
    std::string TypingLine() {
        HWND bar = window.ComponentHandle(kStatusBar);
        wchar_t text[128] = {};
        SendMessageW(bar, SB_GETTEXTW, kTypingPanel, LPARAM(text));
        return AnsiFromWide(text);
    }

    ProgramBindings bindings{window, kNoTimeServer, OpenKeyboard(window)};
    std::wstring name;
    std::atomic<bool> told = false;
    std::atomic<bool> done = false;
    std::thread boxes;
    PROCESS_INFORMATION form{};
    HWND page = nullptr;
};

// Ctrl+Alt+V held a second, V repeating as a held key does: once every key
// is up, the next group goes in byte for byte (a character beyond the BMP
// as its two units, Tab between the fields), read back from the form's
// boxes, no stray "v", the group greyed. A second press where the focus now
// is, in a box that holds text, types nothing.
TEST_F(HotKeyTyping, AHeldChordTypesOneApplicantAndNoStrayLetter) {
    StartForm(L"closed");
    std::thread hand([] { PressAndHold({VK_CONTROL, VK_MENU, 'V'}, 1000); });
    EXPECT_TRUE(
        PumpUntil([&] { return Fields() == name + L"|11010519491231002X|13800138000"; }, 5000))
        << AnsiFromWide(Fields());
    hand.join();
    EXPECT_TRUE(PumpUntil([&] { return !window.GetEnabled(CopyButtonName(1, PhoneKey())); }));
    EXPECT_TRUE(window.GetEnabled(CopyButtonName(2, NameKey())));
    EXPECT_EQ(TypingLine(), "已输入第一组") << "read back";
    PumpUntil([] { return false; }, 800); // the quiet time after a press
    std::thread again([] { PressAndHold({VK_CONTROL, VK_MENU, 'V'}, 100); });
    EXPECT_TRUE(PumpUntil([&] { return TypingLine() == "没有输入：输入框里已有内容"; }))
        << TypingLine();
    again.join();
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(Fields(), name + L"|11010519491231002X|13800138000");
    EXPECT_TRUE(window.GetEnabled(CopyButtonName(2, NameKey())));
}

// Two presses 200 ms apart, as a nervous hand makes them: the second holds
// the typing until its keys are up; the first group goes in whole, the
// second is not typed.
TEST_F(HotKeyTyping, ASecondPressHoldsTheTyping) {
    StartForm(L"closed");
    std::thread hand([] {
        PressAndHold({VK_CONTROL, VK_MENU, 'V'}, 100);
        Sleep(200);
        PressAndHold({VK_CONTROL, VK_MENU, 'V'}, 120);
    });
    EXPECT_TRUE(
        PumpUntil([&] { return Fields() == name + L"|11010519491231002X|13800138000"; }, 5000))
        << AnsiFromWide(Fields());
    hand.join();
    EXPECT_TRUE(PumpUntil([&] { return !window.GetEnabled(CopyButtonName(1, PhoneKey())); }));
    PumpUntil([] { return false; }, 1000);
    EXPECT_EQ(Fields(), name + L"|11010519491231002X|13800138000");
    EXPECT_TRUE(window.GetEnabled(CopyButtonName(2, NameKey())));
}

// A box that takes 17 characters of an 18-character ID: caught when read
// back, the phone not typed, the group left next.
TEST_F(HotKeyTyping, ABoxThatTakesACharacterFewerIsCaught) {
    StartForm(L"limit");
    std::thread hand([] { PressAndHold({VK_CONTROL, VK_MENU, 'V'}, 120); });
    EXPECT_TRUE(PumpUntil([&] { return TypingLine() == "已停止：身份证不对"; }, 5000))
        << TypingLine();
    hand.join();
    EXPECT_EQ(Fields(), name + L"|11010519491231002|");
    EXPECT_TRUE(window.GetEnabled(CopyButtonName(1, PhoneKey())));
}

// An open input method would turn the ID's letters into a composition: it
// is closed while the keys go and opened again after; where it cannot be
// closed, nothing is typed, nothing marked, and the line says why.
TEST_F(HotKeyTyping, NoCharacterGoesWhileTheInputMethodIsOpen) {
    StartForm(L"open");
    ASSERT_EQ(Field(4), L"open=1 while-open=0");
    GUITHREADINFO thread{sizeof thread};
    GetGUIThreadInfo(form.dwThreadId, &thread);
    if (ImmGetDefaultIMEWnd(thread.hwndFocus) == nullptr) {
        GTEST_SKIP() << "this system names no IME window of another process (Wine 8)";
    }
    std::thread hand([] { PressAndHold({VK_CONTROL, VK_MENU, 'V'}, 120); });
    ASSERT_TRUE(PumpUntil([&] { return TypingLine() != "正在输入第一组…"; }, 5000));
    hand.join();
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(Field(4), L"open=1 while-open=0") << "open again, and nothing went while open";
    if (TypingLine() == "已输入第一组") {
        EXPECT_EQ(Fields(), name + L"|11010519491231002X|13800138000");
        EXPECT_FALSE(window.GetEnabled(CopyButtonName(1, PhoneKey())));
    } else {
        EXPECT_EQ(TypingLine(), "没有输入：输入法");
        EXPECT_EQ(Fields(), L"||");
        EXPECT_TRUE(window.GetEnabled(CopyButtonName(1, PhoneKey())));
    }
}

} // namespace

} // namespace orvane
