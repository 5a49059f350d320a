#include "profile/profile_file.h"
#include "temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace orvane {

namespace {

class ProfileFile : public testing::Test {
protected:
    std::string Path(const std::string& name) { return folder.Path(name); }
    void Write(const std::string& name, const std::string& bytes) { folder.Write(name, bytes); }
    std::string Bytes(const std::string& name) { return folder.Bytes(name); }
    mode_t Mode(const std::string& name) { return folder.Mode(name); }
    TempFolder folder;
};

TEST_F(ProfileFile, MissingFileSectionOrKeyGivesTheDefaultWithoutTrailingSpaces) {
    EXPECT_EQ(ReadProfileItem(Path("无.ini"), "配置", "记住配置", "真"), "真");
    EXPECT_EQ(ReadProfileItem(Path("无.ini"), "配置", "记住配置", " 真  "), " 真");
    EXPECT_EQ(ReadProfileItem(Path("无.ini"), "配置", "记住配置"), "");
    Write("有.ini", "[配置]\r\n其他=1\r\n");
    EXPECT_EQ(ReadProfileItem(Path("有.ini"), "配置", "记住配置", "真"), "真");
    EXPECT_EQ(ReadProfileItem(Path("有.ini"), "别的", "其他", "x"), "x");
}

TEST_F(ProfileFile, BlankSectionOrKeyGivesEmptyEvenWithADefault) {
    Write("有.ini", "[配置]\r\n其他=1\r\n");
    EXPECT_EQ(ReadProfileItem(Path("有.ini"), "配置", "   ", "真"), "");
    EXPECT_EQ(ReadProfileItem(Path("有.ini"), "\t", "其他", "真"), "");
    EXPECT_EQ(ReadProfileItem("  ", "配置", "其他", "真"), "");
    EXPECT_EQ(ReadProfileItem(Path("有.ini"), " 配置", "\n其他", "真"), "1");
}

TEST_F(ProfileFile, LongValuesAreCutWithoutSplittingACharacter) {
    Write(
        "长.ini", "[s]\r\nascii=" + std::string(20000, 'x') + "\r\nzh=" + std::string(1, 'a') + [] {
            std::string s;
            for (int i = 0; i < 6000; ++i) {
                s += "中";
            }
            return s;
        }() + "\r\n");
    EXPECT_EQ(ReadProfileItem(Path("长.ini"), "s", "ascii").size(), 10239u);
    std::string zh = ReadProfileItem(Path("长.ini"), "s", "zh");
    EXPECT_EQ(zh.size(), 10239u); // "a" and 5119 whole characters
    EXPECT_EQ(zh.substr(zh.size() - 2), "中");
}

TEST_F(ProfileFile, WritingCreatesAPrivateFileAndKeepsOtherBytes) {
    ASSERT_TRUE(WriteProfileItem(Path("信息.ini"), "配置", "记住配置", "假").Ok());
    EXPECT_EQ(Bytes("信息.ini"), "[配置]\r\n记住配置=假\r\n");
    EXPECT_EQ(Mode("信息.ini"), 0600u);
    Write("信息.ini", "[第一组]\n姓名=张三\n[配置]\n记住配置=假\n");
    ::chmod(NativePath(Path("信息.ini")).c_str(), 0640);
    ASSERT_TRUE(WriteProfileItem(Path("信息.ini"), "配置", "记住配置", "真").Ok());
    EXPECT_EQ(Bytes("信息.ini"), "[第一组]\n姓名=张三\n[配置]\n记住配置=真\n");
    EXPECT_EQ(Mode("信息.ini"), 0600u) << "private again, whatever it was: it holds ID numbers";
}

TEST_F(ProfileFile, FailedReplaceLeavesTheOldFileAndSaysWhy) {
    Write("信息.ini", "[第一组]\r\n姓名=张三\r\n");
    ::chmod(NativePath(Path("信息.ini")).c_str(), 0444);
    EXPECT_EQ(ReplaceFileContent(Path("信息.ini"), "new").Reason(), "文件是只读的");
    EXPECT_EQ(WriteProfileItem(Path("信息.ini"), "配置", "记住配置", "真").Reason(),
              "文件是只读的");
    EXPECT_EQ(Bytes("信息.ini"), "[第一组]\r\n姓名=张三\r\n");

    EXPECT_EQ(ReplaceFileContent(folder.path + "/不存在/信息.ini", "x").Reason(), "文件夹不存在");
    ::mkdir(NativePath(Path("目录.ini")).c_str(), 0700);
    EXPECT_EQ(ReplaceFileContent(Path("目录.ini"), "x").Reason(), "同名的文件夹已存在");
}

TEST_F(ProfileFile, NoTemporaryFileIsLeftBehind) {
    ASSERT_TRUE(ReplaceFileContent(Path("a.ini"), "1").Ok());
    ASSERT_TRUE(ReplaceFileContent(Path("a.ini"), "2").Ok());
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(NativePath(folder.path))) {
        names.push_back(AnsiFromNativePath(entry.path().filename().string()));
    }
    EXPECT_EQ(names, std::vector<std::string>{"a.ini"});
    EXPECT_EQ(Bytes("a.ini"), "2");
}

} // namespace

} // namespace orvane
