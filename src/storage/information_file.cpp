#include "information_file.h"

#include "ansi_literals.h"
#include "component_names.h"
#include "file_queue.h"
#include "main_window.h"
#include "message_box.h"
#include "profile_file.h"
#include "profile_format.h"
#include "program_directory.h"

namespace {

// Tells the user that a save failed, and why.
void ReportSaveFailure(MainWindow& window, const std::string& file, const std::string& reason) {
    ShowMessageBox("申请人信息没有保存，原来的文件保持不变。\n文件：" + file + "\n原因：" + reason,
                   kBoxOk | kBoxIconError, std::string("保存失败"), &window);
}

// What deleting the file and writing the 75 items one by one would give.
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

} // namespace

std::string InformationFilePath() {
    return ProgramDirectory() + kPathSeparator + "信息.ini";
}

void SaveApplicants(MainWindow& window, const std::string& file) {
    std::string content = ApplicantFileContent(window);
    FileQueue::Shared().Run<std::optional<std::string>>(
        &window, [file, content] { return ReplaceFileContent(file, content); },
        [&window, file](std::optional<std::string> failure) {
            if (failure) {
                ReportSaveFailure(window, file, *failure);
            }
        });
}

std::vector<std::string> ReadApplicants(const std::string& file) {
    std::optional<std::string> content = ReadProfileFile(file);
    std::vector<std::string> values;
    for (int group = 1; group <= kGroupCount; ++group) {
        for (const std::string& key : kFieldKeys) {
            values.push_back(ProfileItemIn(content, GroupCaption(group), key));
        }
    }
    return values;
}

void ShowApplicants(MainWindow& window, const std::vector<std::string>& values) {
    size_t next = 0;
    for (int group = 1; group <= kGroupCount; ++group) {
        for (const std::string& key : kFieldKeys) {
            window.SetContent(EditBoxName(group, key), values.at(next++));
        }
    }
}

void LoadApplicants(MainWindow& window, const std::string& file) {
    FileQueue::Shared().Run<std::vector<std::string>>(
        &window, [file] { return ReadApplicants(file); },
        [&window](std::vector<std::string> values) { ShowApplicants(window, values); });
}
