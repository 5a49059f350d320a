#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvane {

class Window;

// Which group the hot key types next: the first, from 1 to 25, that has
// text in a field the typing sequence types and whose three copy buttons
// are not all greyed. Typing it greys them, as three copies would; "恢复"
// makes it next again.
struct GroupState {
    bool hasText = false;
    bool allUsed = false;
};
// `groups[0]` is group 1.
std::optional<int> NextGroupToType(const std::vector<GroupState>& groups);
// The same, of the groups as the window shows them; `fields` are the keys
// of the fields the sequence types.
std::optional<int> NextGroupToType(const Window& window, const std::vector<std::string>& fields);

// Every group the hot key would type, in the order it would: those with
// text whose copy buttons are not all greyed.
std::vector<int> GroupsToType(const Window& window, const std::vector<std::string>& fields);
// Greys the group's three copy buttons.
void MarkGroupTyped(Window& window, int group);

} // namespace orvane
