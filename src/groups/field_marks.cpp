#include "field_marks.h"

#include "component_names.h"
#include "field_checks.h"
#include "window.h"
#include "window_applicants.h"

void MarkFieldFindings(Window& window) {
    Applicants applicants = ApplicantsInWindow(window);
    CivilDate today = Today();
    for (int group = 1; group <= kGroupCount; ++group) {
        for (const std::string& key : kFieldKeys) {
            std::optional<std::string> finding = FieldFinding(applicants, group, key, today);
            window.SetFinding(EditBoxName(group, key), finding.value_or(""));
        }
    }
}
