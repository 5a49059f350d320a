// Whole-file reads and atomic replacement against hostile files: pipes,
// devices, links, oversized and unreadable files.
#include "files/file_access.h"
#include "files/native_path.h"
#include "files/program_directory.h"
#include "profile/profile_file.h"
#include "temp_folder.h"
#include "unprivileged.h"

#include <gtest/gtest.h>

namespace orvane {

namespace {

class FileAccess : public testing::Test {
protected:
    std::string Native(const std::string& name) { return NativePath(folder.Path(name)); }
    TempFolder folder;
};

TEST_F(FileAccess, OnlyARegularFileWithinTheLimitIsRead) {
    folder.Write("满.ini", std::string(4096, 'x'));
    EXPECT_EQ(ReadRegularFile(folder.Path("满.ini"), 4096).ValueOr({}), std::string(4096, 'x'));
    EXPECT_EQ(ReadRegularFile(folder.Path("满.ini"), 4095).Reason(), "文件太大（超过 3 KB）");

    auto missing = [this](const char* name) {
        Result<FileBytes> read = ReadRegularFile(folder.Path(name), 4096);
        return read && !*read;
    };
    EXPECT_TRUE(missing("无.ini"));
    ::symlink(NativePath(folder.Path("无.ini")).c_str(), Native("断链.ini").c_str());
    EXPECT_TRUE(missing("断链.ini")) << "a dangling link";
}

// Each of these would block the start or fill the memory if it were read.
TEST_F(FileAccess, PipesDevicesAndFoldersAreRefusedWithoutWaiting) {
    ::mkfifo(Native("管道.ini").c_str(), 0600);
    ::symlink("/dev/zero", Native("零.ini").c_str());
    ::mkdir(Native("目录.ini").c_str(), 0700);
    for (const char* name : {"管道.ini", "零.ini", "目录.ini"}) {
        EXPECT_EQ(ReadRegularFile(folder.Path(name), kProfileFileLimit).Reason(), "不是普通文件")
            << name;
    }
}

TEST_F(FileAccess, AWriteNeverStartsFromAFileItCouldNotRead) {
    const std::string applicants = "[第一组]\r\n姓名=张三\r\n";
    folder.Write("信息.ini", applicants);
    ::chmod(Native("信息.ini").c_str(), 0200); // the owner may write, nobody may read
    ::chmod(NativePath(folder.path + "/..").c_str(), 0755);
    ::chmod(NativePath(folder.path).c_str(), 0777);
    std::string file = folder.Path("信息.ini");
    EXPECT_TRUE(AsOrdinaryUser([&file] {
        return WriteProfileItem(file, "配置", "记住配置", "假").Reason() == "没有读取该文件的权限";
    }));
    ::chmod(Native("信息.ini").c_str(), 0600);
    EXPECT_EQ(folder.Bytes("信息.ini"), applicants) << "not one applicant byte lost";
}

TEST_F(FileAccess, ASaveThroughALinkMakesAPrivateFileAndLeavesTheTargetAlone) {
    folder.Write("别处.ini", "别人的");
    ::chmod(Native("别处.ini").c_str(), 0644);
    ::symlink(Native("别处.ini").c_str(), Native("信息.ini").c_str());
    ASSERT_TRUE(ReplaceFileContent(folder.Path("信息.ini"), "申请人").Ok());
    struct stat st {};
    ::lstat(Native("信息.ini").c_str(), &st);
    EXPECT_TRUE(S_ISREG(st.st_mode)) << "the link is replaced by a file";
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(folder.Bytes("别处.ini"), "别人的");
    EXPECT_EQ(folder.Mode("别处.ini"), 0644u);
}

// The temporaries of a save are named as no person names a file; files a
// person named beside it, a folder or another file's are none of them.
TEST_F(FileAccess, TemporariesAreNamedAsNoPersonNamesAFile) {
    folder.Write("信息.ini.~orvane-save-Ab12Cd", "[第一组]\r\n姓名=张三\r\n");
    for (const char* other : {"信息.ini.backup", "信息.ini.201912", "信息.ini.Ab12Cd",
                              "信息.ini.~orvane-save-Ab12C", "其他.ini.~orvane-save-Ab12Cd"}) {
        folder.Write(other, "[第一组]\r\n");
    }
    ::mkdir(Native("信息.ini.~orvane-save-Folder").c_str(), 0700);
    EXPECT_EQ(TemporariesOf(folder.Path("信息.ini")),
              std::vector<std::string>{folder.Path("信息.ini.~orvane-save-Ab12Cd")});
    ASSERT_TRUE(ReplaceFileContent(folder.Path("信息.ini"), "新").Ok());
    EXPECT_EQ(TemporariesOf(folder.Path("信息.ini")).size(), 1u) << "its own went with it";
}

TEST_F(FileAccess, AValueEndsAtItsFirstZeroByte) {
    const char bytes[] = "[s]\r\nk=ab\0cd\r\nj=x\r\n";
    folder.Write("零.ini", std::string(bytes, sizeof bytes - 1)); // the zero inside, not the end's
    EXPECT_EQ(ReadProfileItem(folder.Path("零.ini"), "s", "k"), "ab");
    EXPECT_EQ(ReadProfileItem(folder.Path("零.ini"), "s", "j"), "x");
}

// A program unpacked or built in a folder of the user's keeps its file
// beside itself; one installed in a system folder, in the user's data
// folder, run by root too; a file beside it the user may not read is passed
// over for their own. The folder's and the file's modes decide, for root
// too.
TEST(DataDirectory, BesideAPortableCopyElseTheUsersOwnFolder) {
    TempFolder folder;
    std::string program = folder.Path("bin");
    ::mkdir(NativePath(program).c_str(), 0755);
    std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    ::setenv("HOME", NativePath(folder.path).c_str(), 1);
    ::unsetenv("XDG_DATA_HOME");
    std::string own = folder.path + "/.local/share/orvane";
    auto chosen = [&](const std::string& at) { return DataFolderFor(at, "信息.ini").folder; };
    EXPECT_EQ(chosen(program), program);
    for (const char* installed : {"/usr/bin", "/usr/local/bin", "/opt/orvane"}) {
        EXPECT_EQ(chosen(installed), own) << installed << ", whoever runs it";
    }
    ::chmod(NativePath(program).c_str(), 0555);
    EXPECT_EQ(chosen(program), own);
    ::setenv("XDG_DATA_HOME", NativePath(folder.Path("数据")).c_str(), 1);
    EXPECT_EQ(chosen(program), folder.Path("数据") + "/orvane");
    ::setenv("XDG_DATA_HOME", "relative/data", 1);
    EXPECT_EQ(chosen(program), own) << "a relative XDG_DATA_HOME counts as unset";
    ::chmod(NativePath(program).c_str(), 0755);
    folder.Write("bin/信息.ini", "[配置]\r\n");
    ::chmod(NativePath(program).c_str(), 0555);
    EXPECT_EQ(chosen(program), program) << "the file it has stays";
    ::chmod(NativePath(program).c_str(), 0755);
    // Another user's, private to them (as root left it once).
    std::string beside = NativePath(folder.Path("bin/信息.ini"));
    ASSERT_EQ(::chown(beside.c_str(), ::geteuid() + 1, ::getegid() + 1), 0);
    ::chmod(beside.c_str(), 0600);
    DataFolder passed = DataFolderFor(program, "信息.ini");
    EXPECT_EQ(passed.folder, own);
    EXPECT_NE(passed.passedOver.find(folder.Path("bin/信息.ini")), std::string::npos);
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", home.c_str(), 1);
}

// What the program saves is private to the user whatever it replaced, and
// the folder it made for itself stays private.
TEST_F(FileAccess, SavesArePrivateAndTheProgramsFolderStaysSo) {
    folder.Write("信息.ini", "旧");
    ::chmod(NativePath(folder.Path("信息.ini")).c_str(), 0644);
    ASSERT_TRUE(ReplaceFileContent(folder.Path("信息.ini"), "新").Ok());
    struct stat st {};
    ::stat(NativePath(folder.Path("信息.ini")).c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    MakePrivateFolder(folder.Path("数据/新/orvane"));
    ::stat(NativePath(folder.Path("数据/新/orvane")).c_str(), &st);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ::chmod(NativePath(folder.Path("数据/新/orvane")).c_str(), 0755);
    KeepFolderPrivate(folder.Path("数据/新/orvane"));
    ::stat(NativePath(folder.Path("数据/新/orvane")).c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(NativePath, ChineseFolderNamesRoundTripAndBadBytesNeverCutAPath) {
    const std::string ansi = "/tmp/预约/𠮷野家/信息.ini";
    EXPECT_EQ(NativePath(ansi), "/tmp/\xE9\xA2\x84\xE7\xBA\xA6/\xF0\xA0\xAE\xB7\xE9\x87\x8E"
                                "\xE5\xAE\xB6/\xE4\xBF\xA1\xE6\x81\xAF.ini");
    EXPECT_EQ(AnsiFromNativePath(NativePath(ansi)), ansi);
    EXPECT_EQ(NativePath("a\xFF"
                         "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(AnsiFromNativePath("a\xFF"
                                 "b"),
              "a\x84\x31\xA4\x37"
              "b");
}

} // namespace

} // namespace orvane
