#pragma once

namespace orvane {

class CountdownSettings;
class HotKeyTyping;
class Window;

// Runs once the window's components exist and before it is first shown: the
// greeting (waited for), the remember decision, the focus to the all-pages
// phone box, then the 配置 page's settings. The information file (the
// countdown's) is read once for the applicants and the settings alike.
void OnMainWindowCreated(Window& window, CountdownSettings& countdown, HotKeyTyping& typing);

} // namespace orvane
