#include "field_tools.h"

#include "ansi_literals.h"
#include "component_names.h"
#include "field_marks.h"
#include "table_paste_handler.h"
#include "window.h"

void InstallFieldTools(Window& window) {
    window.WatchEdits([&window] { MarkFieldFindings(window); });
    for (int group = 1; group <= kGroupCount; ++group) {
        window.AddContextAction(EditBoxName(group, NameKey()), "从本组起粘贴表格",
                                [&window, group] { PasteTableFromGroup(window, group); });
    }
    MarkFieldFindings(window);
}
