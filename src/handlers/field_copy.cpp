#include "field_copy.h"

#include "text/text.h"
#include "window/beep.h"
#include "window/clipboard.h"
#include "window/component_names.h"
#include "window/window.h"

namespace orvane {

void CopyField(Window& window, int group, const std::string& key) {
    // Blanks at the ends, which the user cannot see, stay in the box only. A
    // clipboard another program holds keeps what it had: the field is not
    // marked, and a sound says the click did nothing.
    if (!SetClipboardText(TrimAnyBlanks(window.GetContent(EditBoxName(group, key))))) {
        PlayBeep(BeepSound::Refused);
        return;
    }
    window.SetEnabled(CopyButtonName(group, key), false);
}

void RestoreGroup(Window& window, int group) {
    for (const std::string& key : kFieldKeys) {
        window.SetEnabled(CopyButtonName(group, key), true);
    }
}

} // namespace orvane
