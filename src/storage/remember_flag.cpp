#include "remember_flag.h"

#include "ansi_literals.h"
#include "component_names.h"
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
        LoadApplicants(window, file);
    }
}

void OnRememberClicked(MainWindow& window, const std::string& file) {
    WriteProfileItem(file, kSection, kKey, window.GetTicked(kRememberBox) ? kTrue : kFalse);
}
