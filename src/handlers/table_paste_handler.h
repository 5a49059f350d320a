#pragma once

namespace orvane {

class Window;

// "从本组起粘贴表格": reads the clipboard without holding the window (a
// clipboard that does not answer within a second is told), and writes the
// table on it into this group and the following ones, once the user has
// confirmed what will be written and overwritten. A table that cannot be
// pasted whole is refused with the reason, and nothing is written.
void PasteTableFromGroup(Window& window, int group);

} // namespace orvane
