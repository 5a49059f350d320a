#include "information_file.h"

#include "remember_flag.h"
#include "runtime/ansi_literals.h"
#include "runtime/profile_file.h"
#include "runtime/program_directory.h"

namespace orvane {

std::string InformationFilePath() {
    return ProgramDirectory() + kPathSeparator + "信息.ini";
}

std::string ApplicantsFileText(const Applicants& applicants) {
    std::string text;
    for (int group = 1; group <= kGroupCount; ++group) {
        text.append("[").append(GroupCaption(group)).append("]\r\n");
        for (const std::string& key : kFieldKeys) {
            text += key + "=" + applicants.Field(group, key) + "\r\n";
        }
    }
    return text;
}

std::optional<std::string> WriteApplicants(const std::string& file, const Applicants& applicants) {
    return ReplaceFileContent(file, ApplicantsFileText(applicants));
}

InformationRead ReadInformationFile(const std::string& file) {
    ProfileRead read = ReadProfileFile(file);
    InformationRead result;
    for (int group = 1; group <= kGroupCount; ++group) {
        for (const std::string& key : kFieldKeys) {
            result.applicants.SetField(group, key,
                                       ProfileItemIn(read.items, GroupCaption(group), key));
        }
    }
    result.remember = RememberFlagIn(read.items);
    result.failure = std::move(read.failure);
    return result;
}

} // namespace orvane
