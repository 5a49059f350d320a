#include "file_handlers.h"

#include "files/failure_log.h"
#include "profile/profile_file.h"
#include "storage/remember_flag.h"
#include "text/ansi_literals.h"
#include "window/component_names.h"
#include "window/window.h"
#include "window/window_work.h"
#include "window_applicants.h"

#include <functional>
#include <optional>
#include <set>
#include <vector>

namespace orvane {

namespace {

// Tells the user that a save failed, and why.
void ReportSaveFailure(Window& window, const std::string& file, const std::string& reason) {
    window.ShowMessage(
        {.text = "申请人信息没有保存，原来的文件保持不变。\n文件：" + file + "\n原因：" + reason,
         .caption = "保存失败",
         .kind = MessageKind::Error});
}

// Tells the user that the file is there but could not be read, and why.
void ReportReadFailure(Window& window, const std::string& file, const std::string& reason) {
    window.ShowMessage(
        {.text = "申请人信息没有读取，窗口中的内容保持不变。\n文件：" + file + "\n原因：" + reason,
         .caption = "读取失败",
         .kind = MessageKind::Error});
}

// Tells the user, once in a run, of the lines of the file that do not
// read in its encoding: they are kept as they are, and show as well as
// they read.
void TellKeptLines(Window& window, const std::string& file, const std::vector<size_t>& lines) {
    static std::set<std::string> told;
    if (lines.empty() || !told.insert(file).second) {
        return;
    }
    std::string numbers;
    for (size_t line : lines) {
        numbers += (numbers.empty() ? "" : "、") + std::to_string(line);
    }
    std::string what =
        "第 " + numbers + " 行与文件其余部分的编码不同（另一个程序用另一种编码存过）";
    LogFailure("读取申请人信息：" + what + "，原样保留：" + file);
    window.ShowMessage({.text = "信息.ini 的" + what +
                                "，这些行可能显示得不对。程序保存时原样保留它们，不会改动；"
                                "如需改正，请用记事本打开改好后另存为 UTF-8。\n文件：" +
                                file,
                        .caption = "读取配置",
                        .kind = MessageKind::Warning});
}

// Writes the file on the queue; a failure is logged as `what` and told.
void WriteOnQueue(Window& window, WorkQueue& files, const std::string& file,
                  const std::string& what, std::function<Result<>()> write) {
    RunForWindow<Result<>>(
        files, window,
        [file, what, write = std::move(write)] { return Logged(write(), what + file); },
        [&window, file](const Result<>& saved) {
            if (!saved) {
                ReportSaveFailure(window, file, saved.Reason());
            }
        });
}

} // namespace

void SaveApplicants(Window& window, WorkQueue& files, const std::string& file) {
    Applicants applicants = ApplicantsInWindow(window);
    WriteOnQueue(window, files, file, "保存申请人信息失败：",
                 [file, applicants] { return WriteApplicants(file, applicants); });
}

void LoadApplicants(Window& window, WorkQueue& files, const std::string& file) {
    RunForWindow<Result<InformationRead>>(
        files, window,
        [file] { return Logged(ReadInformationFile(file), "读取申请人信息失败：" + file); },
        [&window, file](const Result<InformationRead>& read) {
            if (!read) {
                ReportReadFailure(window, file, read.Reason());
            } else {
                ShowApplicants(window, read->applicants);
                TellKeptLines(window, file, read->keptLines);
            }
        });
}

InformationRead ApplyRememberFlag(Window& window, const std::string& file) {
    RemoveStaleSaves(file); // a save killed last time left every applicant there
    Result<InformationRead> read = Logged(ReadInformationFile(file), "读取申请人信息失败：" + file);
    if (!read) {
        ReportReadFailure(window, file, read.Reason());
    }
    InformationRead stored = read.ValueOr({});
    if (stored.remember) {
        window.SetTicked(kRememberBox, true);
        ShowApplicants(window, stored.applicants);
        TellKeptLines(window, file, stored.keptLines);
    }
    return stored;
}

void ShowInformationFile(Window& window, const std::string& file) {
    window.SetTip(kSaveButton, "保存到 " + file);
    window.SetTip(kLoadButton, "从 " + file + " 读取");
}

void OnRememberClicked(Window& window, WorkQueue& files, const std::string& file) {
    bool remember = window.GetTicked(kRememberBox);
    WriteOnQueue(window, files, file, "保存记住配置失败：",
                 [file, remember] { return WriteRememberFlag(file, remember); });
}

} // namespace orvane
