#pragma once

namespace orvane {

class Window;

// Checks every applicant field in the window and marks those with a
// finding, after what the box's last paste left out; clears the marks of
// the others. Runs after every edit, load and
// fill, so the marks always match the text.
void MarkFieldFindings(Window& window);

} // namespace orvane
