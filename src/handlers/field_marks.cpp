#include "field_marks.h"

#include "applicants/field_checks.h"
#include "window/component_names.h"
#include "window/window.h"
#include "window_applicants.h"

namespace orvane {

void MarkFieldFindings(Window& window) {
    Applicants applicants = ApplicantsInWindow(window);
    std::chrono::year_month_day today = Today();
    for (int group = 1; group <= kGroupCount; ++group) {
        for (const std::string& key : kFieldKeys) {
            std::optional<std::string> finding = FieldFinding(applicants, group, key, today);
            window.SetFinding(EditBoxName(group, key), finding.value_or(""));
        }
    }
}

} // namespace orvane
