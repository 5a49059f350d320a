// The window's file handlers: the disk work on the file queue, the answers
// back in the window.
#include "app/work_queues.h"
#include "files/failure_log.h"
#include "handlers/file_handlers.h"
#include "modal_box.h"
#include "temp_folder.h"
#include "text/unicode_text.h"
#include "window/component_names.h"
#include "window_access.h"

#include "profile/profile_file.h"

#include <QPushButton>
#include <atomic>
#include <thread>

namespace orvane {

namespace {

class FileHandlers : public testing::Test {
protected:
    void FillAll(const std::string& prefix) {
        for (int n = 1; n <= kGroupCount; ++n) {
            for (const std::string& key : kFieldKeys) {
                window.SetContent(EditBoxName(n, key), prefix + std::to_string(n) + key);
            }
        }
    }
    // The file work is queued; this waits for it, as a user waits a moment.
    void Settle() { DrainWorkQueues(); }

    TempFolder folder;
    std::string file = folder.Path("信息.ini");
    MainWindow window;
};

TEST_F(FileHandlers, SaveThenLoadGivesBackEveryFieldAndKeepsUsedMarks) {
    FillAll("值");
    window.SetContent(EditBoxName(1, NameKey()), "𠮷野家");
    SaveApplicants(window, FileQueue(), file);
    Settle();
    MainWindow fresh;
    fresh.SetContent(kAllPhoneBox, "13900000000");
    fresh.SetEnabled(CopyButtonName(4, IdKey()), false);
    LoadApplicants(fresh, FileQueue(), file);
    Settle();
    for (int n = 1; n <= kGroupCount; ++n) {
        for (const std::string& key : kFieldKeys) {
            EXPECT_EQ(fresh.GetContent(EditBoxName(n, key)),
                      window.GetContent(EditBoxName(n, key)));
        }
    }
    EXPECT_EQ(fresh.GetContent(EditBoxName(1, NameKey())), "𠮷野家");
    EXPECT_FALSE(Component(fresh, CopyButtonName(4, IdKey()))->isEnabled());
    EXPECT_EQ(fresh.GetContent(kAllPhoneBox), "13900000000");
}

// A UTF-8 file with a line saved in GBK: the applicants show, the user is
// told once which line was kept as it is, and a save keeps the file UTF-8.
TEST_F(FileHandlers, LinesInAnotherEncodingAreToldOnceAndKept) {
    folder.Write("信息.ini", "; 备注\r\n" + Utf8Of("[第一组]\r\n姓名=欧阳吉祥\r\n"));
    ModalBoxAnswerer boxes;
    LoadApplicants(window, FileQueue(), file);
    Settle();
    EXPECT_EQ(window.GetContent(EditBoxName(1, NameKey())), "欧阳吉祥");
    EXPECT_EQ(boxes.count, 1);
    EXPECT_TRUE(boxes.text.contains(QStringLiteral("第 1 行"))) << boxes.text.toStdString();
    LoadApplicants(window, FileQueue(), file);
    SaveApplicants(window, FileQueue(), file);
    Settle();
    EXPECT_EQ(boxes.count, 1) << "told once";
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
    MainWindow other;
    LoadApplicants(other, FileQueue(), file);
    EXPECT_FALSE(folder.Exists("信息.ini")) << "the save waited for the disk";
    release = true;
    Settle();
    EXPECT_EQ(other.GetContent(EditBoxName(1, NameKey())), "张三")
        << "the save took the fields at the click, the load came after it";
}

TEST_F(FileHandlers, FailedSaveTellsTheUserAndKeepsTheOldFile) {
    const std::string old = "[第一组]\r\n姓名=原来的\r\n";
    folder.Write("信息.ini", old);
    ::chmod(NativePath(file).c_str(), 0444);
    FillAll("新");
    ModalBoxAnswerer answerer;
    SaveApplicants(window, FileQueue(), file);
    Settle();
    EXPECT_EQ(answerer.count, 1);
    EXPECT_EQ(answerer.caption, QStringLiteral("保存失败"));
    EXPECT_TRUE(answerer.text.contains(ToUnicode(file)));
    EXPECT_TRUE(answerer.text.contains(QStringLiteral("文件是只读的")));
    EXPECT_EQ(folder.Bytes("信息.ini"), old);
}

// The failure goes in the log too, with the file and the reason but none of
// the applicants' data.
TEST_F(FileHandlers, AFailedSaveIsLoggedWithoutTheApplicants) {
    SetFailureLog(folder.Path("故障记录.txt"));
    folder.Write("信息.ini", "");
    folder.MakeReadOnly("信息.ini");
    FillAll("新");
    ModalBoxAnswerer answerer;
    SaveApplicants(window, FileQueue(), file);
    Settle();
    SetFailureLog({});
    std::string log = AnsiFromUtf8(folder.Bytes("故障记录.txt"));
    EXPECT_NE(log.find("保存申请人信息失败：" + file + "：文件是只读的"), std::string::npos) << log;
    EXPECT_EQ(log.find("新"), std::string::npos);
}

TEST_F(FileHandlers, AnAnswerForAClosedWindowIsDropped) {
    folder.Write("信息.ini", "[第一组]\r\n姓名=张三\r\n");
    auto gone = std::make_unique<MainWindow>();
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
    MainWindow next;
    next.SetContent(EditBoxName(1, NameKey()), "未加载");
    ApplyRememberFlag(next, file);
    EXPECT_FALSE(next.GetTicked(kRememberBox));
    EXPECT_EQ(next.GetContent(EditBoxName(1, NameKey())), "未加载");
}

// A pipe, a device and an oversized file in place of "信息.ini": the start
// goes on as without a file, and the user learns why nothing was loaded.
TEST_F(FileHandlers, TheStartCopesWithAnyInformationFile) {
    const std::pair<std::function<void(const std::string&)>, QString> cases[] = {
        {[](const std::string& path) { ::mkfifo(NativePath(path).c_str(), 0600); },
         QStringLiteral("不是普通文件")},
        {[](const std::string& path) { ::symlink("/dev/zero", NativePath(path).c_str()); },
         QStringLiteral("不是普通文件")},
        {[this](const std::string&) {
             folder.Write("信息.ini", std::string(kProfileFileLimit + 1, ';'));
         },
         QStringLiteral("文件太大")},
    };
    for (const auto& [make, reason] : cases) {
        ::unlink(NativePath(file).c_str());
        make(file);
        MainWindow fresh;
        ModalBoxAnswerer answerer;
        ApplyRememberFlag(fresh, file);
        EXPECT_EQ(answerer.count, 1) << reason.toStdString();
        EXPECT_EQ(answerer.caption, QStringLiteral("读取失败"));
        EXPECT_TRUE(answerer.text.contains(reason));
        EXPECT_TRUE(fresh.GetTicked(kRememberBox)) << "as for a missing file";
    }
}

TEST_F(FileHandlers, AFileThatCannotBeReadIsNeitherLoadedNorOverwritten) {
    ::mkfifo(NativePath(file).c_str(), 0600);
    window.SetContent(EditBoxName(2, NameKey()), "李四");
    {
        ModalBoxAnswerer answerer;
        LoadApplicants(window, FileQueue(), file);
        Settle();
        EXPECT_EQ(answerer.caption, QStringLiteral("读取失败"));
        EXPECT_EQ(window.GetContent(EditBoxName(2, NameKey())), "李四") << "typed data stays";
    }
    ModalBoxAnswerer answerer;
    window.SetTicked(kRememberBox, false);
    OnRememberClicked(window, FileQueue(), file);
    Settle();
    EXPECT_EQ(answerer.caption, QStringLiteral("保存失败"));
    EXPECT_TRUE(answerer.text.contains(QStringLiteral("不是普通文件")));
    struct stat st {};
    ::lstat(NativePath(file).c_str(), &st);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the file was left as it was";
}

} // namespace

} // namespace orvane
