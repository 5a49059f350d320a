#pragma once

namespace orvane {

class Window;

// Runs once the window's components exist and before it is first shown: the
// greeting (waited for), the remember decision, then the focus to the
// all-pages phone box.
void OnMainWindowCreated(Window& window);

} // namespace orvane
