#pragma once

namespace orvane {

// Gives memory the program has freed back to the system, after work that
// briefly needed much of it (a huge paste), so that the program's size
// returns to what it was.
void ReleaseFreeMemory();

} // namespace orvane
