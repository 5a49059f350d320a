#include "phone_fill.h"

#include "window/component_names.h"
#include "window/window.h"

namespace orvane {

namespace {

// The source is read afresh for every target and copied unchanged: no
// trimming and no check of digits or length.
void FillPhones(Window& window, const std::string& source, int first, int last) {
    for (int group = first; group <= last; ++group) {
        window.SetContent(EditBoxName(group, PhoneKey()), window.GetContent(source));
    }
}

} // namespace

void FillPagePhone(Window& window, int page) {
    int first = FirstGroupOfPage(page);
    FillPhones(window, PagePhoneBoxName(page), first, first + kGroupsPerPage - 1);
}

void FillAllPhone(Window& window) {
    FillPhones(window, kAllPhoneBox, 1, kGroupCount);
}

} // namespace orvane
