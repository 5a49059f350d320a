// The information file without a window: the applicants as a value, written
// and read back through real files.
#include "files/file_access.h"
#include "files/native_path.h"
#include "profile/profile_file.h"
#include "storage/information_file.h"
#include "storage/page_settings.h"
#include "storage/remember_flag.h"
#include "temp_folder.h"
#include "text/text_encoding.h"
#include "text/unicode_text.h"

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif

namespace orvane {

namespace {

Applicants Numbered(const std::string& prefix) {
    Applicants applicants;
    for (int n = 1; n <= kGroupCount; ++n) {
        for (const std::string& key : kFieldKeys) {
            applicants.SetField(n, key, prefix + std::to_string(n).append(key));
        }
    }
    return applicants;
}

Applicants ReadApplicants(const std::string& file) {
    return ReadInformationFile(file).ValueOr({}).applicants;
}

bool Remembered(const std::string& file) {
    return ReadInformationFile(file).ValueOr({}).remember;
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
    ASSERT_TRUE(WriteApplicants(file, saved).Ok());
    Applicants read = ReadApplicants(file);
    EXPECT_TRUE(read == saved);
    EXPECT_EQ(read.Field(1, NameKey()), "𠮷野家");
}

TEST_F(InformationFile, WriteGivesTheWindowsProfileBytesAndKeepsOtherSections) {
    const std::string others = "[配置]\r\n记住配置=假\r\n[杂项]\r\nx=1\r\n";
    folder.Write("信息.ini", others);
    Applicants applicants;
    applicants.SetField(1, NameKey(), "张三");
    applicants.SetField(1, IdKey(), "11010519491231002X");
    ASSERT_TRUE(WriteApplicants(file, applicants).Ok());
    std::string expected =
        others + "[第一组]\r\n姓名=张三\r\n身份证=11010519491231002X\r\n手机号=\r\n";
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
    EXPECT_EQ(WriteApplicants(file, Numbered("新")).Reason(), "文件是只读的");
    EXPECT_EQ(folder.Bytes("信息.ini"), old);
    EXPECT_EQ(WriteApplicants(folder.path + "/已删除/信息.ini", Numbered("新")).Reason(),
              "文件夹不存在");
}

#ifndef _WIN32
TEST_F(InformationFile, WriteIntoAReadOnlyFolderFails) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    ::chmod(NativePath(folder.path).c_str(), 0555);
    Result<> saved = WriteApplicants(file, Numbered("新"));
    ::chmod(NativePath(folder.path).c_str(), 0755);
    EXPECT_FALSE(saved.Ok());
    EXPECT_FALSE(folder.Exists("信息.ini"));
}
#else
// A file that another program holds open without sharing it is named as
// such, not as a matter of permissions.
TEST_F(InformationFile, AFileInUseSaysSo) {
    folder.Write("信息.ini", "[第一组]\r\n姓名=张三\r\n");
    HANDLE held = CreateFileW(PathOf(file).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(WriteApplicants(file, Numbered("新")).Reason(), "文件正被其他程序使用");
    EXPECT_EQ(ReadInformationFile(file).Reason(), "文件正被其他程序使用");
    CloseHandle(held);
}
#endif

// A save killed half-way leaves a temporary file with every applicant
// (perhaps cut in the middle of a line); the next start and the next save
// remove it. Files a person named are the person's, whatever they hold, and
// so is a file with the temporaries' name that holds no profile text.
TEST_F(InformationFile, OnlyTheTemporariesOfAKilledSaveGo) {
    const std::string applicant = "[第一组]\r\n姓名=张三\r\n身份证=1101";
    auto killedSave = [&] { folder.Write("信息.ini.~orvane-save-a1B2c3", applicant); };
    const char* kept[] = {"信息.ini.backup", "信息.ini.201912", "信息.ini.a1B2c3", "信息.ini.bak"};
    for (const char* name : kept) {
        folder.Write(name, applicant);
    }
    folder.Write("信息.ini.~orvane-save-Zz9Yy8", "照片\r\n\x01\x02\r\n");
    killedSave();
    RemoveStaleSaves(file);
    EXPECT_FALSE(folder.Exists("信息.ini.~orvane-save-a1B2c3")) << "at start";
    killedSave();
    ASSERT_TRUE(WriteApplicants(file, Numbered("新")).Ok());
    EXPECT_FALSE(folder.Exists("信息.ini.~orvane-save-a1B2c3")) << "at a save";
    for (const char* name : kept) {
        EXPECT_EQ(folder.Bytes(name), applicant) << name;
    }
    EXPECT_TRUE(folder.Exists("信息.ini.~orvane-save-Zz9Yy8"));
}

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

TEST_F(InformationFile, TheFlagKeepsTheApplicantsAndASaveKeepsTheFlag) {
    ASSERT_TRUE(WriteRememberFlag(file, false).Ok());
    EXPECT_EQ(folder.Bytes("信息.ini"), "[配置]\r\n记住配置=假\r\n");
    EXPECT_FALSE(Remembered(file));

    Applicants applicants;
    applicants.SetField(5, NameKey(), "赵六");
    ASSERT_TRUE(WriteApplicants(file, applicants).Ok());
    EXPECT_FALSE(Remembered(file)) << "an unticked box stays unticked after a save";

    ASSERT_TRUE(WriteRememberFlag(file, true).Ok());
    EXPECT_TRUE(Remembered(file));
    EXPECT_EQ(ReadApplicants(file).Field(5, NameKey()), "赵六");
}

// A line break or a NUL in a value would start a line of its own in the
// file, and could move applicants between groups: no such value is written,
// and the file stays as it was.
TEST_F(InformationFile, AValueWithALineBreakOrANulReachesNoFile) {
    folder.Write("信息.ini", "[第二组]\r\n姓名=李四\r\n");
    for (const std::string& value :
         {std::string("张三\r\n[第二组]\r\n身份证=110105194912310021"), std::string("张三\n"),
          std::string("张\r三"), std::string("张三\0王五", 10)}) {
        Applicants applicants;
        applicants.SetField(1, NameKey(), value);
        EXPECT_EQ(WriteApplicants(file, applicants).Reason(),
                  "第一组的姓名含有换行符或空字符，不能写入文件");
        EXPECT_EQ(folder.Bytes("信息.ini"), "[第二组]\r\n姓名=李四\r\n");
    }
    EXPECT_FALSE(WriteProfileItem(file, "配置", "记住配置", "真\r\n[第一组]").Ok());
    EXPECT_EQ(folder.Bytes("信息.ini"), "[第二组]\r\n姓名=李四\r\n");
}

// Blanks at the ends and quotes around a value are what the reader drops:
// such a value is written in quotes, so that it reads back as it was.
TEST_F(InformationFile, BlanksAndQuotesReadBackExactly) {
    Applicants saved;
    saved.SetField(1, NameKey(), " 张三 ");
    saved.SetField(2, NameKey(), "\"引号\"");
    saved.SetField(3, NameKey(), "'单'");
    saved.SetField(4, NameKey(), "\t李四\xA1\xA1");
    saved.SetField(5, NameKey(), "\"");
    ASSERT_TRUE(WriteApplicants(file, saved).Ok());
    EXPECT_TRUE(ReadApplicants(file) == saved);
    EXPECT_NE(folder.Bytes("信息.ini").find("姓名=\" 张三 \"\r\n"), std::string::npos);
    EXPECT_NE(folder.Bytes("信息.ini").find("姓名=\"\r\n"), std::string::npos)
        << "a lone quote needs none";
}

// 信息.ini edited and saved by Windows' Notepad is UTF-8, with or without
// its byte-order mark: its names read right, and a setting or a save keeps
// the whole file UTF-8, its sections once. A new file is GBK.
TEST_F(InformationFile, AFileSavedAsUtf8IsReadAndKeptAsUtf8) {
    const std::string notepad =
        Utf8Of("[配置]\r\n记住配置=真\r\n[第一组]\r\n姓名=欧阳吉祥\r\n"
               "身份证=11010519491231002X\r\n[第二组]\r\n姓名=Anna·Müller\r\n");
    for (const std::string& mark : {std::string(), std::string("\xEF\xBB\xBF")}) {
        folder.Write("信息.ini", mark + notepad);
        InformationRead read = ReadInformationFile(file).ValueOr({});
        EXPECT_EQ(read.applicants.Field(1, NameKey()), "欧阳吉祥");
        EXPECT_EQ(read.applicants.Field(2, NameKey()), "Anna·Müller");
        EXPECT_TRUE(read.remember);
        ASSERT_TRUE(WritePageSetting(file, kOpeningTimeKey, "09:00:00").Ok());
        Applicants changed = read.applicants;
        changed.SetField(1, PhoneKey(), "13912345678");
        ASSERT_TRUE(WriteApplicants(file, changed).Ok());
        std::string bytes = folder.Bytes("信息.ini");
        EXPECT_EQ(bytes.substr(0, mark.size()), mark);
        EXPECT_TRUE(IsValidUtf8(bytes)) << "one encoding in the whole file";
        EXPECT_EQ(bytes.find(Utf8Of("[第一组]")), bytes.rfind(Utf8Of("[第一组]")));
        EXPECT_NE(bytes.find(Utf8Of("开始时间=09:00:00")), std::string::npos);
        EXPECT_TRUE(ReadApplicants(file) == changed);
    }
    folder.Remove("信息.ini");
    ASSERT_TRUE(WriteApplicants(file, Numbered("新")).Ok());
    EXPECT_EQ(folder.Bytes("信息.ini").substr(0, 10), "[第一组]\r\n")
        << "GBK, as Windows writes it";
}

TEST(TextEncoding, NotepadsUtf8IsToldFromGbk) {
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF[a]\r\nb=c\r\n").encoding, TextEncoding::Utf8WithBom)
        << "the mark alone tells, ASCII after it or not";
    EXPECT_EQ(DecodeText(Utf8Of("姓名=张三")).encoding, TextEncoding::Utf8);
    EXPECT_EQ(DecodeText(Utf8Of("姓名=张三")).text, "姓名=张三");
    EXPECT_EQ(DecodeText("姓名=张三").encoding, TextEncoding::Ansi);
    EXPECT_EQ(DecodeText("[a]\r\nb=c").encoding, TextEncoding::Ansi) << "nothing beyond ASCII";
    // Two GB2312 characters whose bytes happen to be valid UTF-8 ("ää")
    // read as the GBK a person typed.
    EXPECT_EQ(DecodeText("\xC3\xA4\xC3\xA4").encoding, TextEncoding::Ansi);
    EXPECT_FALSE(IsValidUtf8("\xC0\x80")) << "overlong";
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")) << "a surrogate";
    EXPECT_FALSE(IsValidUtf8("\xE4\xB8")) << "cut short";
}

// The file's encoding is the one its section and key names read in; lines
// that do not read in it (a comment saved in GBK, stray bytes, a name
// saved in the other encoding) are read as well as they can be and written
// back as they were; a file whose names read as much in both is never
// written over.
TEST_F(InformationFile, TheNamesTellTheEncodingAndForeignLinesAreKept) {
    std::string utf8 = Utf8Of("[配置]\r\n记住配置=真\r\n");
    for (int group = 1; group <= 25; ++group) {
        utf8 += Utf8Of("[" + GroupCaption(group) + "]\r\n姓名=欧阳" + std::to_string(group) +
                       "\r\n身份证=11010519491231002X\r\n手机号=13800138000\r\n");
    }
    const std::string gbkComment = "; 这是注释\r\n"; // the test's own text is GBK
    std::string oneGbkName = utf8;
    oneGbkName.replace(oneGbkName.find(Utf8Of("姓名=欧阳2\r\n")), Utf8Of("姓名=欧阳2\r\n").size(),
                       "姓名=李四\r\n");
    struct Case {
        const char* what;
        std::string bytes;
        std::string name1; // as the window shows 第一组's name
        std::string kept;  // bytes that stay as they were
    };
    std::vector<Case> cases = {
        {"UTF-8, a GBK comment", gbkComment + utf8, "欧阳1", gbkComment},
        {"UTF-8, stray bytes", utf8 + "\xFF\xFE\xFA\r\n", "欧阳1", "\xFF\xFE\xFA\r\n"},
        {"UTF-8, one name in GBK", oneGbkName, "欧阳1", "姓名=李四\r\n"},
        {"UTF-8 with its mark, a GBK comment", "\xEF\xBB\xBF" + utf8 + gbkComment, "欧阳1",
         gbkComment},
        {"GBK, a UTF-8 line", "[第一组]\r\n姓名=张三\r\n" + Utf8Of("; 备注：王五\r\n"), "张三",
         Utf8Of("; 备注：王五\r\n")},
        {"GBK", "[第一组]\r\n姓名=张三\r\n", "张三", ""},
        {"UTF-8", utf8, "欧阳1", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        folder.Write("信息.ini", c.bytes);
        Result<InformationRead> read = ReadInformationFile(file);
        ASSERT_TRUE(read.Ok());
        EXPECT_EQ(read->applicants.Field(1, NameKey()), c.name1);
        EXPECT_EQ(read->keptLines.empty(), c.kept.empty());
        Applicants changed = read->applicants;
        changed.SetField(1, PhoneKey(), "13912345678");
        ASSERT_TRUE(WriteApplicants(file, changed).Ok());
        std::string written = folder.Bytes("信息.ini");
        EXPECT_NE(written.find(c.kept), std::string::npos) << "kept byte for byte";
        bool wasUtf8 = c.bytes.find(Utf8Of("[第一组]")) != std::string::npos;
        std::string rest = written;
        rest.erase(rest.find(c.kept), c.kept.size());
        EXPECT_EQ(IsValidUtf8(rest), wasUtf8) << "the rest in the file's own encoding";
        EXPECT_EQ(ReadApplicants(file), changed);
    }
    folder.Write("信息.ini", oneGbkName);
    EXPECT_EQ(ReadApplicants(file).Field(2, NameKey()), "李四") << "read as well as it can be";

    // As many names read as UTF-8 only as GBK only: read, never written.
    const std::string halves = Utf8Of("[第一组]\r\n") + "[第二组]\r\n";
    folder.Write("信息.ini", halves);
    EXPECT_TRUE(ReadInformationFile(file).Ok());
    Result<> refused = WriteApplicants(file, Numbered("新"));
    EXPECT_NE(refused.Reason().find("无法判断文件的编码"), std::string::npos) << refused.Reason();
    EXPECT_EQ(folder.Bytes("信息.ini"), halves);
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

// The countdown's and the typing's settings: defaults without a file, each
// key stored on its own next to the applicants and read back as written,
// whatever the remember flag says.
TEST_F(InformationFile, PageSettingsDefaultAndReadBackNextToTheApplicants) {
    PageSettings none = PageSettingsIn(ReadProfileFile(file).ValueOr(std::nullopt));
    EXPECT_EQ(none.openingTime, "");
    EXPECT_TRUE(none.sound);
    EXPECT_EQ(none.hotKey, "Ctrl+Alt+V");
    EXPECT_EQ(none.sequence, "{姓名}{TAB}{身份证}{TAB}{手机号}");
    ASSERT_TRUE(WriteApplicants(file, Numbered("甲")).Ok());
    ASSERT_TRUE(WriteRememberFlag(file, false).Ok());
    ASSERT_TRUE(WritePageSetting(file, kOpeningTimeKey, "09:00:00").Ok());
    ASSERT_TRUE(WritePageSetting(file, kSoundKey, SoundText(false)).Ok());
    ASSERT_TRUE(WritePageSetting(file, kHotKeyKey, "Ctrl+Shift+F9").Ok());
    ASSERT_TRUE(WritePageSetting(file, kSequenceKey, "{姓名}{ENTER}").Ok());
    PageSettings read = PageSettingsIn(ReadProfileFile(file).ValueOr(std::nullopt));
    EXPECT_EQ(read.openingTime, "09:00:00");
    EXPECT_FALSE(read.sound);
    EXPECT_EQ(read.hotKey, "Ctrl+Shift+F9");
    EXPECT_EQ(read.sequence, "{姓名}{ENTER}");
    EXPECT_EQ(ReadApplicants(file), Numbered("甲"));
    EXPECT_NE(folder.Bytes("信息.ini").find("开始时间=09:00:00\r\n"), std::string::npos);
}

} // namespace

} // namespace orvane
