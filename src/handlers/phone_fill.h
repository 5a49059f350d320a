#pragma once

namespace orvane {

class Window;

// Writes the page's phone box into the phone field of its five groups.
void FillPagePhone(Window& window, int page);

// Writes the all-pages phone box into the phone field of all 25 groups.
void FillAllPhone(Window& window);

} // namespace orvane
