#include "ansi_literals.h"
#include "component_names.h"
#include "file_queue.h"
#include "information_file.h"
#include "modal_box.h"
#include "profile_file.h"
#include "remember_flag.h"
#include "window_access.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <atomic>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <thread>

namespace {

class Storage : public testing::Test {
protected:
    void WriteFile(const std::string& bytes) {
        std::ofstream(NativePath(file), std::ios::binary) << bytes;
    }
    std::string FileBytes() {
        std::ifstream in(NativePath(file), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    bool FileExists() { return QFile::exists(ToUnicode(file)); }
    // The file work is queued; these wait for it, as a user waits a moment.
    void Save(const std::string& path) {
        SaveApplicants(window, path);
        FileQueue::Shared().Drain();
    }
    void Save() { Save(file); }
    void Load(MainWindow& target) {
        LoadApplicants(target, file);
        FileQueue::Shared().Drain();
    }
    void Remember(bool ticked) {
        window.SetTicked(kRememberBox, ticked);
        OnRememberClicked(window, file);
        FileQueue::Shared().Drain();
    }
    void FillAll(const std::string& prefix) {
        for (int n = 1; n <= kGroupCount; ++n) {
            for (const std::string& key : kFieldKeys) {
                window.SetContent(EditBoxName(n, key), prefix + std::to_string(n) + key);
            }
        }
    }
    QTemporaryDir temporary;
    std::string folder = AnsiFromNativePath(temporary.path().toStdString());
    std::string file = folder + "/信息.ini";
    MainWindow window;
};

TEST_F(Storage, SaveThenLoadGivesBackEveryFieldExactly) {
    FillAll("值");
    window.SetContent(EditBoxName(1, NameKey()), "𠮷野家");
    window.SetContent(EditBoxName(2, NameKey()), "");
    window.SetContent(EditBoxName(3, PhoneKey()), "13800138000 转 8001");
    Save();
    MainWindow fresh;
    Load(fresh);
    for (int n = 1; n <= kGroupCount; ++n) {
        for (const std::string& key : kFieldKeys) {
            EXPECT_EQ(fresh.GetContent(EditBoxName(n, key)),
                      window.GetContent(EditBoxName(n, key)));
        }
    }
    EXPECT_EQ(fresh.GetContent(EditBoxName(1, NameKey())), "𠮷野家");
}

// The window's thread only queues the write; jobs keep their order.
TEST_F(Storage, SavingQueuesTheDiskWorkInOrder) {
    std::atomic<bool> release = false;
    FileQueue::Shared().Run<int>(
        &window,
        [&release] {
            while (!release) {
                std::this_thread::yield();
            }
            return 0;
        },
        [](int) {});
    window.SetContent(EditBoxName(1, NameKey()), "张三");
    SaveApplicants(window, file);
    MainWindow other;
    LoadApplicants(other, file);
    EXPECT_FALSE(FileExists()) << "the save waited for the disk";
    release = true;
    FileQueue::Shared().Drain();
    EXPECT_EQ(other.GetContent(EditBoxName(1, NameKey())), "张三")
        << "the load came after the save";
}

TEST_F(Storage, SaveWritesTheWindowsProfileBytesAndDropsOtherSections) {
    WriteFile("[配置]\r\n记住配置=假\r\n[杂项]\r\nx=1\r\n");
    window.SetContent(EditBoxName(1, NameKey()), "张三");
    window.SetContent(EditBoxName(1, IdKey()), "11010519491231002X");
    Save();
    std::string expected = "[第一组]\r\n姓名=张三\r\n身份证=11010519491231002X\r\n手机号=\r\n";
    for (int n = 2; n <= kGroupCount; ++n) {
        expected += "[" + GroupCaption(n) + "]\r\n姓名=\r\n身份证=\r\n手机号=\r\n";
    }
    EXPECT_EQ(FileBytes(), expected);
}

TEST_F(Storage, LoadsAFileMadeOnWindows) {
    // GBK bytes, CR LF, as WritePrivateProfileStringA leaves them, with a
    // hand edit: blanks, quotes and a missing key.
    WriteFile("[第一组]\r\n姓名=张三\r\n身份证=110105194912310021\r\n手机号=13800138000\r\n"
              "[第七组]\r\n姓名 = 王五 \r\n手机号=\"13900000007\"\r\n[配置]\r\n记住配置=真\r\n");
    FillAll("旧");
    Load(window);
    EXPECT_EQ(window.GetContent(EditBoxName(1, NameKey())), "张三");
    EXPECT_EQ(window.GetContent(EditBoxName(1, IdKey())), "110105194912310021");
    EXPECT_EQ(window.GetContent(EditBoxName(7, NameKey())), "王五");
    EXPECT_EQ(window.GetContent(EditBoxName(7, IdKey())), "") << "missing key empties its box";
    EXPECT_EQ(window.GetContent(EditBoxName(7, PhoneKey())), "13900000007");
    EXPECT_EQ(window.GetContent(EditBoxName(2, NameKey())), "");
}

TEST_F(Storage, LoadingWithoutAFileClearsFieldsAndKeepsUsedMarks) {
    FillAll("旧");
    window.SetContent(kAllPhoneBox, "13900000000");
    window.SetEnabled(CopyButtonName(4, IdKey()), false);
    Load(window);
    for (int n = 1; n <= kGroupCount; ++n) {
        for (const std::string& key : kFieldKeys) {
            EXPECT_EQ(window.GetContent(EditBoxName(n, key)), "");
        }
    }
    EXPECT_FALSE(Component(window, CopyButtonName(4, IdKey()))->isEnabled());
    EXPECT_EQ(window.GetContent(kAllPhoneBox), "13900000000");
    EXPECT_FALSE(FileExists()) << "loading never writes";
}

TEST_F(Storage, FailedSaveTellsTheUserAndKeepsTheOldFile) {
    const std::string old = "[第一组]\r\n姓名=原来的\r\n";
    WriteFile(old);
    ::chmod(NativePath(file).c_str(), 0444);
    FillAll("新");
    ModalBoxAnswerer answerer;
    Save();
    EXPECT_EQ(answerer.count, 1);
    EXPECT_EQ(answerer.caption, QStringLiteral("保存失败"));
    EXPECT_TRUE(answerer.text.contains(ToUnicode(file)));
    EXPECT_TRUE(answerer.text.contains(QStringLiteral("文件是只读的")));
    EXPECT_EQ(FileBytes(), old);
}

TEST_F(Storage, SaveIntoAMissingFolderSaysSo) {
    ModalBoxAnswerer answerer;
    Save(folder + "/已删除/信息.ini");
    EXPECT_TRUE(answerer.text.contains(QStringLiteral("文件夹不存在")));
}

TEST_F(Storage, SaveIntoAReadOnlyFolderSaysSo) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    ::chmod(NativePath(folder).c_str(), 0555);
    ModalBoxAnswerer answerer;
    Save();
    ::chmod(NativePath(folder).c_str(), 0755);
    EXPECT_EQ(answerer.count, 1);
    EXPECT_FALSE(FileExists());
}

struct FlagCase {
    std::optional<std::string> fileContent; // nothing: no file at all
    bool ticked;
};

TEST_F(Storage, RememberDecisionTable) {
    const std::string group = "[第一组]\r\n姓名=张三\r\n";
    const FlagCase cases[] = {
        {std::nullopt, true},
        {group, true},
        {group + "[配置]\r\n记住配置=真\r\n", true},
        {group + "[配置]\r\n记住配置=假\r\n", false},
        {group + "[配置]\r\n记住配置=\r\n", false},
        {group + "[配置]\r\n记住配置=\"真 \"\r\n", false},
        {group + "[配置]\r\n记住配置=true\r\n", false},
        {group + "[配置]\r\n记住配置=1\r\n", false},
    };
    for (const FlagCase& c : cases) {
        QFile::remove(ToUnicode(file));
        if (c.fileContent) {
            WriteFile(*c.fileContent);
        }
        MainWindow fresh;
        fresh.SetContent(EditBoxName(1, NameKey()), "未加载");
        ApplyRememberFlag(fresh, file);
        EXPECT_EQ(fresh.GetTicked(kRememberBox), c.ticked) << c.fileContent.value_or("none");
        std::string loaded = c.fileContent ? "张三" : "";
        EXPECT_EQ(fresh.GetContent(EditBoxName(1, NameKey())), c.ticked ? loaded : "未加载");
    }
    QFile::remove(ToUnicode(file));
    MainWindow fresh;
    ApplyRememberFlag(fresh, file);
    EXPECT_FALSE(FileExists()) << "the decision creates no file";
}

TEST_F(Storage, UntickThenSaveBringsTheAutoLoadBack) {
    window.SetContent(EditBoxName(5, NameKey()), "赵六");
    Remember(false);
    EXPECT_EQ(FileBytes(), "[配置]\r\n记住配置=假\r\n");
    {
        MainWindow next;
        ApplyRememberFlag(next, file);
        EXPECT_FALSE(next.GetTicked(kRememberBox));
    }
    Save();
    MainWindow next;
    ApplyRememberFlag(next, file);
    EXPECT_TRUE(next.GetTicked(kRememberBox));
    EXPECT_EQ(next.GetContent(EditBoxName(5, NameKey())), "赵六");
}

TEST_F(Storage, TickingWritesTrueAndKeepsTheApplicants) {
    window.SetContent(EditBoxName(1, NameKey()), "张三");
    Save();
    Remember(true);
    EXPECT_EQ(ReadProfileItem(file, "配置", "记住配置"), "真");
    EXPECT_EQ(ReadProfileItem(file, "第一组", "姓名"), "张三");
    EXPECT_TRUE(IsTrueText("真"));
    EXPECT_FALSE(IsTrueText("真 "));
    EXPECT_FALSE(IsTrueText(""));
}

} // namespace
