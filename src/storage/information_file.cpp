#include "information_file.h"

#include "files/program_directory.h"
#include "profile/profile_file.h"
#include "remember_flag.h"
#include "text/ansi_literals.h"

namespace orvane {

namespace {

const std::string kFileName = "信息.ini";

} // namespace

std::string InformationFilePath() {
    return DataDirectory(kFileName) + kPathSeparator + kFileName;
}

std::string InformationFilePassedOver() {
    return DataFolderFor(ProgramDirectory(), kFileName).passedOver;
}

void MakeInformationFolder(const std::string& file) {
    std::string folder = file.substr(0, FolderLength(file));
    if (folder == DataDirectory(kFileName) && folder != ProgramDirectory()) {
        MakePrivateFolder(folder);
        KeepFolderPrivate(folder);
    }
}

std::string ApplicantsFileText(const Applicants& applicants, const std::string& old) {
    std::vector<ProfileItem> items;
    for (int group = 1; group <= kGroupCount; ++group) {
        for (const std::string& key : kFieldKeys) {
            items.push_back(
                {GroupCaption(group), key, ProfileValueText(applicants.Field(group, key))});
        }
    }
    return SetProfileValues(old, items);
}

Result<> WriteApplicants(const std::string& file, const Applicants& applicants) {
    for (int group = 1; group <= kGroupCount; ++group) {
        for (const std::string& key : kFieldKeys) {
            if (!FitsOneLine(applicants.Field(group, key))) {
                return Failure{GroupCaption(group) + "的" + key +
                               "含有换行符或空字符，不能写入文件"};
            }
        }
    }
    MakeInformationFolder(file);
    Result<std::optional<DecodedText>> old = ReadProfileText(file);
    if (!old) {
        return Failure{old.Reason()}; // a file that is there but unreadable is never replaced
    }
    DecodedText text = old->value_or(DecodedText{});
    text.text = ApplicantsFileText(applicants, text.text);
    return ReplaceProfileText(file, text);
}

Result<InformationRead> ReadInformationFile(const std::string& file) {
    Result<std::optional<DecodedText>> text = ReadProfileText(file);
    if (!text) {
        return Failure{text.Reason()};
    }
    std::optional<ProfileItems> read;
    InformationRead result;
    if (*text) {
        read.emplace((*text)->text);
        result.keptLines = (*text)->keptLines;
    }
    for (int group = 1; group <= kGroupCount; ++group) {
        for (const std::string& key : kFieldKeys) {
            result.applicants.SetField(group, key, ProfileItemIn(read, GroupCaption(group), key));
        }
    }
    result.remember = RememberFlagIn(read);
    result.settings = PageSettingsIn(read);
    return result;
}

} // namespace orvane
