#include "window_applicants.h"

#include "window/component_names.h"
#include "window/window.h"

namespace orvane {

Applicants ApplicantsInWindow(const Window& window) {
    Applicants applicants;
    for (int group = 1; group <= kGroupCount; ++group) {
        for (const std::string& key : kFieldKeys) {
            applicants.SetField(group, key, window.GetContent(EditBoxName(group, key)));
        }
    }
    return applicants;
}

void ShowApplicants(Window& window, const Applicants& applicants) {
    for (int group = 1; group <= kGroupCount; ++group) {
        for (const std::string& key : kFieldKeys) {
            window.SetContent(EditBoxName(group, key), applicants.Field(group, key));
        }
    }
}

} // namespace orvane
