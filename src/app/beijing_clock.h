#pragma once

#include <string>

class Window;

// The status bar's Beijing time: the server's clock, estimated from lookups
// off the window's thread, shown second by second at the server's own
// second boundaries while "时钟" runs.

// The server the time comes from: the time service page unless the command
// line names another. The estimate starts over with the next tick.
void SetTimeSource(const std::string& url);

// Bound to each tick of "时钟": starts the next lookup when it is due and
// shows the time. With the clock stopped there are no ticks, no lookups, and
// the text stays as it is.
void ShowBeijingTime(Window& window);

// Ends the lookups; main() calls it before the transport is cleaned up.
void StopTimeLookups();
