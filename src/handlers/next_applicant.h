#pragma once

#include <optional>
#include <vector>

namespace orvane {

class Window;

// Which group the hot key types next: the first, from 1 to 25, that has
// text and whose three copy buttons are not all greyed. Typing it greys
// them, as three copies would; "恢复" makes it next again.
struct GroupState {
    bool hasText = false;
    bool allUsed = false;
};
// `groups[0]` is group 1.
std::optional<int> NextGroupToType(const std::vector<GroupState>& groups);
// The same, of the groups as the window shows them.
std::optional<int> NextGroupToType(const Window& window);

// Greys the group's three copy buttons.
void MarkGroupTyped(Window& window, int group);

} // namespace orvane
