#include "remember_flag.h"

#include "ansi_literals.h"
#include "component_names.h"
#include "file_queue.h"
#include "main_window.h"
#include "profile_file.h"

namespace {

const std::string kSection = "配置";
const std::string kKey = "记住配置";
const std::string kTrue = "真";
const std::string kFalse = "假";

} // namespace

bool IsTrueText(const std::string& text) {
    return text == kTrue;
}

void ApplyRememberFlag(MainWindow& window, const std::string& file) {
    if (IsTrueText(ReadProfileItem(file, kSection, kKey, kTrue))) {
        window.SetTicked(kRememberBox, true);
        ShowApplicants(window, ReadApplicants(file));
    }
}

void OnRememberClicked(MainWindow& window, const std::string& file) {
    std::string value = window.GetTicked(kRememberBox) ? kTrue : kFalse;
    FileQueue::Shared().Run<bool>(
        &window, [file, value] { return WriteProfileItem(file, kSection, kKey, value); },
        [](bool) {});
}
