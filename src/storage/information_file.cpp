#include "information_file.h"

#include "ansi_literals.h"
#include "component_names.h"
#include "main_window.h"
#include "message_box.h"
#include "profile_file.h"
#include "profile_format.h"
#include "program_directory.h"

std::string InformationFilePath() {
    return ProgramDirectory() + kPathSeparator + "信息.ini";
}

std::string ApplicantFileContent(const MainWindow& window) {
    std::string content;
    for (int group = 1; group <= kGroupCount; ++group) {
        for (const std::string& key : kFieldKeys) {
            content = SetProfileValue(content, GroupCaption(group), key,
                                      window.GetContent(EditBoxName(group, key)));
        }
    }
    return content;
}

bool SaveApplicants(MainWindow& window, const std::string& file) {
    std::optional<std::string> failure = ReplaceFileContent(file, ApplicantFileContent(window));
    if (failure) {
        ShowMessageBox("申请人信息没有保存，原来的文件保持不变。\n文件：" + file + "\n原因：" +
                           *failure,
                       kBoxOk | kBoxIconError, std::string("保存失败"), &window);
    }
    return !failure;
}

void LoadApplicants(MainWindow& window, const std::string& file) {
    for (int group = 1; group <= kGroupCount; ++group) {
        for (const std::string& key : kFieldKeys) {
            window.SetContent(EditBoxName(group, key),
                              ReadProfileItem(file, GroupCaption(group), key));
        }
    }
}
