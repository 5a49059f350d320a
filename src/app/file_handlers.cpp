#include "file_handlers.h"

#include "ansi_literals.h"
#include "component_names.h"
#include "main_window.h"
#include "message_box.h"
#include "remember_flag.h"
#include "window_applicants.h"
#include "work_queues.h"

#include <optional>

namespace {

// Tells the user that a save failed, and why.
void ReportSaveFailure(MainWindow& window, const std::string& file, const std::string& reason) {
    ShowMessageBox("申请人信息没有保存，原来的文件保持不变。\n文件：" + file + "\n原因：" + reason,
                   kBoxOk | kBoxIconError, std::string("保存失败"), &window);
}

} // namespace

void SaveApplicants(MainWindow& window, const std::string& file) {
    Applicants applicants = ApplicantsInWindow(window);
    RunForWindow<std::optional<std::string>>(
        FileQueue(), window, [file, applicants] { return WriteApplicants(file, applicants); },
        [&window, file](std::optional<std::string> failure) {
            if (failure) {
                ReportSaveFailure(window, file, *failure);
            }
        });
}

void LoadApplicants(MainWindow& window, const std::string& file) {
    RunForWindow<Applicants>(
        FileQueue(), window, [file] { return ReadApplicants(file); },
        [&window](Applicants applicants) { ShowApplicants(window, applicants); });
}

void ApplyRememberFlag(MainWindow& window, const std::string& file) {
    if (RememberFlagIsSet(file)) {
        window.SetTicked(kRememberBox, true);
        ShowApplicants(window, ReadApplicants(file));
    }
}

void OnRememberClicked(MainWindow& window, const std::string& file) {
    bool remember = window.GetTicked(kRememberBox);
    RunForWindow<bool>(
        FileQueue(), window, [file, remember] { return WriteRememberFlag(file, remember); },
        [](bool) {});
}
