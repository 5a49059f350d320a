#include "next_applicant.h"

#include "text/text.h"
#include "window/component_names.h"
#include "window/window.h"

namespace orvane {

std::optional<int> NextGroupToType(const std::vector<GroupState>& groups) {
    for (size_t i = 0; i < groups.size(); ++i) {
        if (groups[i].hasText && !groups[i].allUsed) {
            return int(i) + 1;
        }
    }
    return std::nullopt;
}

namespace {

std::vector<GroupState> GroupStates(const Window& window, const std::vector<std::string>& fields) {
    std::vector<GroupState> groups;
    for (int n = 1; n <= kGroupCount; ++n) {
        GroupState state{false, true};
        for (const std::string& key : fields) {
            state.hasText |= !TrimAnyBlanks(window.GetContent(EditBoxName(n, key))).empty();
        }
        for (const std::string& key : kFieldKeys) {
            state.allUsed &= !window.GetEnabled(CopyButtonName(n, key));
        }
        groups.push_back(state);
    }
    return groups;
}

} // namespace

std::optional<int> NextGroupToType(const Window& window, const std::vector<std::string>& fields) {
    return NextGroupToType(GroupStates(window, fields));
}

std::vector<int> GroupsToType(const Window& window, const std::vector<std::string>& fields) {
    std::vector<int> typed;
    std::vector<GroupState> groups = GroupStates(window, fields);
    for (size_t i = 0; i < groups.size(); ++i) {
        if (groups[i].hasText && !groups[i].allUsed) {
            typed.push_back(int(i) + 1);
        }
    }
    return typed;
}

void MarkGroupTyped(Window& window, int group) {
    for (const std::string& key : kFieldKeys) {
        window.SetEnabled(CopyButtonName(group, key), false);
    }
}

} // namespace orvane
