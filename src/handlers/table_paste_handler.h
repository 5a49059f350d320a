#pragma once

namespace orvane {

class Window;

// "从本组起粘贴表格": writes the table on the clipboard into this group and
// the following ones, once the user has confirmed what will be written and
// overwritten. A table that cannot be pasted whole is refused with the
// reason, and nothing is written.
void PasteTableFromGroup(Window& window, int group);

} // namespace orvane
