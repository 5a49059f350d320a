#include "field_copy.h"

#include "runtime/text.h"
#include "window/clipboard.h"
#include "window/component_names.h"
#include "window/window.h"

namespace orvane {

void CopyField(Window& window, int group, const std::string& key) {
    // Marked used even when the clipboard refused: the user sees the paste
    // fail at once, and the mark must not depend on another program. Blanks
    // at the ends, which the user cannot see, stay in the box only.
    SetClipboardText(TrimAnyBlanks(window.GetContent(EditBoxName(group, key))));
    window.SetEnabled(CopyButtonName(group, key), false);
}

void RestoreGroup(Window& window, int group) {
    for (const std::string& key : kFieldKeys) {
        window.SetEnabled(CopyButtonName(group, key), true);
    }
}

} // namespace orvane
