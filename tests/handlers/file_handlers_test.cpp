// The window's file handlers: the disk work on the file queue, the answers
// back in the window.
#include "app/work_queues.h"
#include "desk.h"
#include "files/failure_log.h"
#include "files/native_path.h"
#include "handlers/file_handlers.h"
#include "profile/profile_file.h"
#include "temp_folder.h"
#include "text/unicode_text.h"
#include "window/component_names.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvane {

namespace {

class FileHandlers : public DeskTest {
protected:
    void FillAll(const std::string& prefix) {
        for (int n = 1; n <= kGroupCount; ++n) {
            for (const std::string& key : kFieldKeys) {
                window.SetContent(EditBoxName(n, key), prefix + std::to_string(n).append(key));
            }
        }
    }
    // The file work is queued; this waits for it, as a user waits a moment.
    static void Settle() { DrainWorkQueues(); }
    // The one message box shown since the last look.
    static Message OneBox() {
        std::vector<Message> shown = TakeMessages();
        EXPECT_EQ(shown.size(), 1u);
        return shown.empty() ? Message{} : shown.back();
    }

    TempFolder folder;
    std::string file = folder.Path("信息.ini");
};

TEST_F(FileHandlers, SaveThenLoadGivesBackEveryFieldAndKeepsUsedMarks) {
    FillAll("值");
    // Beyond GBK where the desktop's text reaches it.
    const std::string name = DeskHoldsAllOfGb18030() ? "𠮷野家" : "吉野家";
    window.SetContent(EditBoxName(1, NameKey()), name);
    SaveApplicants(window, FileQueue(), file);
    Settle();
    std::unique_ptr<Window> fresh = NewDeskWindow();
    fresh->SetContent(kAllPhoneBox, "13900000000");
    fresh->SetEnabled(CopyButtonName(4, IdKey()), false);
    LoadApplicants(*fresh, FileQueue(), file);
    Settle();
    for (int n = 1; n <= kGroupCount; ++n) {
        for (const std::string& key : kFieldKeys) {
            EXPECT_EQ(fresh->GetContent(EditBoxName(n, key)),
                      window.GetContent(EditBoxName(n, key)));
        }
    }
    EXPECT_EQ(fresh->GetContent(EditBoxName(1, NameKey())), name);
    EXPECT_FALSE(fresh->GetEnabled(CopyButtonName(4, IdKey())));
    EXPECT_EQ(fresh->GetContent(kAllPhoneBox), "13900000000");
}

// A UTF-8 file with a line saved in GBK: the applicants show, the user is
// told once which line was kept as it is, and a save keeps the file UTF-8.
TEST_F(FileHandlers, LinesInAnotherEncodingAreToldOnceAndKept) {
    folder.Write("信息.ini", "; 备注\r\n" + Utf8Of("[第一组]\r\n姓名=欧阳吉祥\r\n"));
    LoadApplicants(window, FileQueue(), file);
    Settle();
    EXPECT_EQ(window.GetContent(EditBoxName(1, NameKey())), "欧阳吉祥");
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "第 1 行", OneBox().text);
    LoadApplicants(window, FileQueue(), file);
    SaveApplicants(window, FileQueue(), file);
    Settle();
    EXPECT_EQ(TakeMessages().size(), 0u) << "told once";
    EXPECT_EQ(folder.Bytes("信息.ini").substr(0, 8), "; 备注\r\n");
    EXPECT_NE(folder.Bytes("信息.ini").find(Utf8Of("姓名=欧阳吉祥")), std::string::npos);
}

// The window's thread only queues the work; jobs keep their order.
TEST_F(FileHandlers, SavingQueuesTheDiskWorkInOrder) {
    std::atomic<bool> release = false;
    FileQueue().Run<int>(
        [&release] {
            while (!release) {
                std::this_thread::yield();
            }
            return 0;
        },
        [](int) {});
    window.SetContent(EditBoxName(1, NameKey()), "张三");
    SaveApplicants(window, FileQueue(), file);
    window.SetContent(EditBoxName(1, NameKey()), "改了");
    std::unique_ptr<Window> other = NewDeskWindow();
    LoadApplicants(*other, FileQueue(), file);
    EXPECT_FALSE(folder.Exists("信息.ini")) << "the save waited for the disk";
    release = true;
    Settle();
    EXPECT_EQ(other->GetContent(EditBoxName(1, NameKey())), "张三")
        << "the save took the fields at the click, the load came after it";
}

TEST_F(FileHandlers, FailedSaveTellsTheUserAndKeepsTheOldFile) {
    const std::string old = "[第一组]\r\n姓名=原来的\r\n";
    folder.Write("信息.ini", old);
    folder.MakeReadOnly("信息.ini");
    FillAll("新");
    SaveApplicants(window, FileQueue(), file);
    Settle();
    Message box = OneBox();
    EXPECT_EQ(box.caption, "保存失败");
    EXPECT_PRED_FORMAT2(testing::IsSubstring, file, box.text);
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "文件是只读的", box.text);
    EXPECT_EQ(folder.Bytes("信息.ini"), old);
}

// The failure goes in the log too, with the file and the reason but none of
// the applicants' data.
TEST_F(FileHandlers, AFailedSaveIsLoggedWithoutTheApplicants) {
    SetFailureLog(folder.Path("故障记录.txt"));
    folder.Write("信息.ini", "");
    folder.MakeReadOnly("信息.ini");
    FillAll("新");
    SaveApplicants(window, FileQueue(), file);
    Settle();
    TakeMessages();
    SetFailureLog({});
    std::string log = AnsiFromUtf8(folder.Bytes("故障记录.txt"));
    EXPECT_NE(log.find("保存申请人信息失败：" + file + "：文件是只读的"), std::string::npos) << log;
    EXPECT_EQ(log.find("新"), std::string::npos);
}

TEST_F(FileHandlers, AnAnswerForAClosedWindowIsDropped) {
    folder.Write("信息.ini", "[第一组]\r\n姓名=张三\r\n");
    std::unique_ptr<Window> gone = NewDeskWindow();
    LoadApplicants(*gone, FileQueue(), file);
    FileQueue().Drain(); // the answer is posted, not yet delivered
    gone.reset();
    Settle(); // delivering it would write into a deleted window
    LoadApplicants(window, FileQueue(), file);
    Settle();
    EXPECT_EQ(window.GetContent(EditBoxName(1, NameKey())), "张三");
}

TEST_F(FileHandlers, TheRememberFlagTicksTheBoxAndLoadsAtOnce) {
    folder.Write("信息.ini", "[第一组]\r\n姓名=张三\r\n[配置]\r\n记住配置=真\r\n");
    ApplyRememberFlag(window, file);
    EXPECT_TRUE(window.GetTicked(kRememberBox));
    EXPECT_EQ(window.GetContent(EditBoxName(1, NameKey())), "张三") << "loaded before the show";

    folder.Write("信息.ini", "[第一组]\r\n姓名=李四\r\n[配置]\r\n记住配置=假\r\n");
    std::unique_ptr<Window> next = NewDeskWindow();
    next->SetContent(EditBoxName(1, NameKey()), "未加载");
    ApplyRememberFlag(*next, file);
    EXPECT_FALSE(next->GetTicked(kRememberBox));
    EXPECT_EQ(next->GetContent(EditBoxName(1, NameKey())), "未加载");
}

// A pipe, a device and an oversized file in place of "信息.ini": the start
// goes on as without a file, and the user learns why nothing was loaded.
TEST_F(FileHandlers, TheStartCopesWithAnyInformationFile) {
    std::vector<std::pair<std::function<void()>, std::string>> cases = {
        {[this] { folder.Write("信息.ini", std::string(kProfileFileLimit + 1, ';')); }, "文件太大"},
    };
#ifndef _WIN32
    cases.emplace_back([this] { ::mkfifo(NativePath(file).c_str(), 0600); }, "不是普通文件");
    cases.emplace_back([this] { ::symlink("/dev/zero", NativePath(file).c_str()); },
                       "不是普通文件");
#endif
    for (const auto& [make, reason] : cases) {
        std::filesystem::remove(PathOf(file));
        make();
        std::unique_ptr<Window> fresh = NewDeskWindow();
        ApplyRememberFlag(*fresh, file);
        Message box = OneBox();
        EXPECT_EQ(box.caption, "读取失败");
        EXPECT_PRED_FORMAT2(testing::IsSubstring, reason, box.text);
        EXPECT_TRUE(fresh->GetTicked(kRememberBox)) << "as for a missing file";
    }
}

#ifndef _WIN32
TEST_F(FileHandlers, AFileThatCannotBeReadIsNeitherLoadedNorOverwritten) {
    ::mkfifo(NativePath(file).c_str(), 0600);
    window.SetContent(EditBoxName(2, NameKey()), "李四");
    LoadApplicants(window, FileQueue(), file);
    Settle();
    EXPECT_EQ(OneBox().caption, "读取失败");
    EXPECT_EQ(window.GetContent(EditBoxName(2, NameKey())), "李四") << "typed data stays";
    window.SetTicked(kRememberBox, false);
    OnRememberClicked(window, FileQueue(), file);
    Settle();
    Message box = OneBox();
    EXPECT_EQ(box.caption, "保存失败");
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "不是普通文件", box.text);
    struct stat st {};
    ::lstat(NativePath(file).c_str(), &st);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the file was left as it was";
}
#endif

} // namespace

} // namespace orvane
