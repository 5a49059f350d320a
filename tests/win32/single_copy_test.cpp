// Two starts of orvane.exe with one 信息.ini, as two double-clicks make them,
// under Wine: the second brings the first one's window to the front and
// ends, so that two windows never save over each other's file.
#include "temp_folder.h"
#include "text/wide_text.h"
#include "win32_input.h"

#include <gtest/gtest.h>

namespace orvane {

namespace {

DWORD ForegroundProcess() {
    DWORD process = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &process);
    return process;
}

class Win32SingleCopy : public testing::Test {
protected:
    void SetUp() override {
        // A copy of the program in a folder of the test's: its 信息.ini there.
        program = WideFromAnsi(folder.Path("orvane.exe"));
        ASSERT_TRUE(CopyFileW(L"..\\orvane.exe", program.c_str(), FALSE));
    }
    void TearDown() override {
        for (PROCESS_INFORMATION* copy : {&first, &second, &other}) {
            if (copy->hProcess != nullptr) {
                TerminateProcess(copy->hProcess, 0);
                WaitForSingleObject(copy->hProcess, 5000);
                CloseHandle(copy->hProcess);
                CloseHandle(copy->hThread);
            }
        }
    }
    static void Start(const std::wstring& command, PROCESS_INFORMATION& copy) {
        std::wstring line = command;
        STARTUPINFOW start{sizeof start};
        ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &start, &copy));
    }
    void StartCopy(PROCESS_INFORMATION& copy) {
        Start(L"\"" + program + L"\" --time-url http://127.0.0.1:9/", copy);
    }

    TempFolder folder;
    std::wstring program;
    PROCESS_INFORMATION first{};
    PROCESS_INFORMATION second{};
    PROCESS_INFORMATION other{};
};

TEST_F(Win32SingleCopy, ASecondStartShowsTheFirstWindowAndEnds) {
    StartCopy(first);
    // The greeting, then the window.
    ASSERT_TRUE(PumpUntil([&] { return ForegroundProcess() == first.dwProcessId; }, 15000));
    PressAndHold({VK_RETURN}, 80);
    ASSERT_TRUE(PumpUntil(
        [] {
            HWND window = FindWindowW(nullptr, L"Orvane");
            return window != nullptr && IsWindowVisible(window) && window == GetForegroundWindow();
        },
        10000));
    Start(L"form_holder.exe closed", other); // the keyboard to another program
    ASSERT_TRUE(PumpUntil([&] { return ForegroundProcess() == other.dwProcessId; }, 10000));

    StartCopy(second);
    ASSERT_EQ(WaitForSingleObject(second.hProcess, 10000), WAIT_OBJECT_0) << "it ends";
    DWORD code = 1;
    GetExitCodeProcess(second.hProcess, &code);
    EXPECT_EQ(code, 0U);
    EXPECT_TRUE(PumpUntil([&] { return ForegroundProcess() == first.dwProcessId; }, 5000))
        << "the first copy's window in front";
    EXPECT_EQ(WaitForSingleObject(first.hProcess, 0), DWORD(WAIT_TIMEOUT)) << "and it runs on";
}

// A copy that was killed holds nothing: the next start greets the user.
TEST_F(Win32SingleCopy, ACopyThatWasKilledDoesNotKeepTheNextFromStarting) {
    StartCopy(first);
    ASSERT_TRUE(PumpUntil([&] { return ForegroundProcess() == first.dwProcessId; }, 15000));
    TerminateProcess(first.hProcess, 9);
    ASSERT_EQ(WaitForSingleObject(first.hProcess, 5000), WAIT_OBJECT_0);
    StartCopy(second);
    EXPECT_TRUE(PumpUntil([&] { return ForegroundProcess() == second.dwProcessId; }, 15000))
        << "the second start shows its greeting";
    EXPECT_EQ(WaitForSingleObject(second.hProcess, 0), DWORD(WAIT_TIMEOUT));
}

} // namespace

} // namespace orvane
