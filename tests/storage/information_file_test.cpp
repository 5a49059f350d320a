// The information file without a window: the applicants as a value, written
// and read back through real files.
#include "storage/information_file.h"
#include "storage/remember_flag.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace orvane {

namespace {

Applicants Numbered(const std::string& prefix) {
    Applicants applicants;
    for (int n = 1; n <= kGroupCount; ++n) {
        for (const std::string& key : kFieldKeys) {
            applicants.SetField(n, key, prefix + std::to_string(n) + key);
        }
    }
    return applicants;
}

Applicants ReadApplicants(const std::string& file) {
    return ReadInformationFile(file).applicants;
}

bool Remembered(const std::string& file) {
    return ReadInformationFile(file).remember;
}

class InformationFile : public testing::Test {
protected:
    TempFolder folder;
    std::string file = folder.Path("信息.ini");
};

TEST_F(InformationFile, WriteThenReadGivesBackEveryFieldExactly) {
    Applicants saved = Numbered("值");
    saved.SetField(1, NameKey(), "𠮷野家");
    saved.SetField(2, NameKey(), "");
    saved.SetField(3, PhoneKey(), "13800138000 转 8001");
    ASSERT_FALSE(WriteApplicants(file, saved).has_value());
    Applicants read = ReadApplicants(file);
    EXPECT_TRUE(read == saved);
    EXPECT_EQ(read.Field(1, NameKey()), "𠮷野家");
}

TEST_F(InformationFile, WriteGivesTheWindowsProfileBytesAndDropsOtherSections) {
    folder.Write("信息.ini", "[配置]\r\n记住配置=假\r\n[杂项]\r\nx=1\r\n");
    Applicants applicants;
    applicants.SetField(1, NameKey(), "张三");
    applicants.SetField(1, IdKey(), "11010519491231002X");
    ASSERT_FALSE(WriteApplicants(file, applicants).has_value());
    std::string expected = "[第一组]\r\n姓名=张三\r\n身份证=11010519491231002X\r\n手机号=\r\n";
    for (int n = 2; n <= kGroupCount; ++n) {
        expected.append("[").append(GroupCaption(n)).append("]\r\n姓名=\r\n身份证=\r\n手机号=\r\n");
    }
    EXPECT_EQ(folder.Bytes("信息.ini"), expected);
}

TEST_F(InformationFile, ReadsAFileMadeOnWindows) {
    // GBK bytes, CR LF, as WritePrivateProfileStringA leaves them, with a
    // hand edit: blanks, quotes and a missing key.
    folder.Write("信息.ini",
                 "[第一组]\r\n姓名=张三\r\n身份证=110105194912310021\r\n手机号=13800138000\r\n"
                 "[第七组]\r\n姓名 = 王五 \r\n手机号=\"13900000007\"\r\n[配置]\r\n记住配置=真\r\n");
    Applicants read = ReadApplicants(file);
    EXPECT_EQ(read.Field(1, NameKey()), "张三");
    EXPECT_EQ(read.Field(1, IdKey()), "110105194912310021");
    EXPECT_EQ(read.Field(7, NameKey()), "王五");
    EXPECT_EQ(read.Field(7, IdKey()), "") << "missing key empties its field";
    EXPECT_EQ(read.Field(7, PhoneKey()), "13900000007");
    EXPECT_EQ(read.Field(2, NameKey()), "");
}

TEST_F(InformationFile, ReadingWithoutAFileGivesEmptyFieldsAndWritesNothing) {
    EXPECT_TRUE(ReadApplicants(file) == Applicants());
    EXPECT_FALSE(folder.Exists("信息.ini"));
}

TEST_F(InformationFile, FailedWriteSaysWhyAndKeepsTheOldFile) {
    const std::string old = "[第一组]\r\n姓名=原来的\r\n";
    folder.Write("信息.ini", old);
    folder.MakeReadOnly("信息.ini");
    EXPECT_EQ(WriteApplicants(file, Numbered("新")), "文件是只读的");
    EXPECT_EQ(folder.Bytes("信息.ini"), old);
    EXPECT_EQ(WriteApplicants(folder.path + "/已删除/信息.ini", Numbered("新")), "文件夹不存在");
}

#ifndef _WIN32
TEST_F(InformationFile, WriteIntoAReadOnlyFolderFails) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    ::chmod(NativePath(folder.path).c_str(), 0555);
    std::optional<std::string> failure = WriteApplicants(file, Numbered("新"));
    ::chmod(NativePath(folder.path).c_str(), 0755);
    EXPECT_TRUE(failure.has_value());
    EXPECT_FALSE(folder.Exists("信息.ini"));
}
#endif

TEST_F(InformationFile, RememberDecisionTable) {
    const std::string group = "[第一组]\r\n姓名=张三\r\n";
    const std::pair<std::optional<std::string>, bool> cases[] = {
        {std::nullopt, true}, // no file at all
        {group, true},
        {group + "[配置]\r\n记住配置=真\r\n", true},
        {group + "[配置]\r\n记住配置=假\r\n", false},
        {group + "[配置]\r\n记住配置=\r\n", false},
        {group + "[配置]\r\n记住配置=\"真 \"\r\n", false},
        {group + "[配置]\r\n记住配置=true\r\n", false},
        {group + "[配置]\r\n记住配置=1\r\n", false},
    };
    for (const auto& [content, set] : cases) {
        folder.Remove("信息.ini");
        if (content) {
            folder.Write("信息.ini", *content);
        }
        EXPECT_EQ(Remembered(file), set) << content.value_or("none");
    }
    folder.Remove("信息.ini");
    Remembered(file);
    EXPECT_FALSE(folder.Exists("信息.ini")) << "the decision creates no file";
    EXPECT_TRUE(IsTrueText("真"));
    EXPECT_FALSE(IsTrueText("真 "));
    EXPECT_FALSE(IsTrueText(""));
}

TEST_F(InformationFile, TheFlagKeepsTheApplicantsAndASaveDropsTheFlag) {
    ASSERT_FALSE(WriteRememberFlag(file, false).has_value());
    EXPECT_EQ(folder.Bytes("信息.ini"), "[配置]\r\n记住配置=假\r\n");
    EXPECT_FALSE(Remembered(file));

    Applicants applicants;
    applicants.SetField(5, NameKey(), "赵六");
    ASSERT_FALSE(WriteApplicants(file, applicants).has_value());
    EXPECT_TRUE(Remembered(file)) << "an unticked box is forgotten by the next save";

    ASSERT_FALSE(WriteRememberFlag(file, true).has_value());
    EXPECT_TRUE(Remembered(file));
    EXPECT_EQ(ReadApplicants(file).Field(5, NameKey()), "赵六");
}

TEST(ApplicantsValue, FieldsAreAddressedByGroupAndKeyOnly) {
    Applicants applicants;
    applicants.SetField(25, PhoneKey(), "13900000025");
    EXPECT_EQ(applicants.Field(25, PhoneKey()), "13900000025");
    EXPECT_EQ(applicants.Field(25, IdKey()), "");
    EXPECT_THROW(applicants.Field(26, NameKey()), std::out_of_range);
    EXPECT_THROW(applicants.Field(0, NameKey()), std::out_of_range);
    EXPECT_THROW(applicants.SetField(1, "地址", "x"), std::out_of_range);
}

} // namespace

} // namespace orvane
