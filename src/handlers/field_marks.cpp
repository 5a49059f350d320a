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
            std::string box = EditBoxName(group, key);
            std::string finding = window.PasteNote(box);
            if (std::optional<std::string> found = FieldFinding(applicants, group, key, today)) {
                finding += (finding.empty() ? "" : "\n") + *found;
            }
            window.SetFinding(box, finding);
        }
    }
}

} // namespace orvane
