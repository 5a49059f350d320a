#pragma once

namespace orvane {

class Window;

// Checks every applicant field in the window and marks those with a
// finding; clears the marks of the others. Runs after every edit, load and
// fill, so the marks always match the text.
void MarkFieldFindings(Window& window);

} // namespace orvane
