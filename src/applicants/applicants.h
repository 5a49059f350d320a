#pragma once

#include "group_names.h"

#include <array>
#include <string>

namespace orvane {

// The 75 applicant texts: for each group 1..25 a name, an ID number and a
// phone number, as ANSI text. A plain value: copied, compared and handed
// between threads freely. A group outside 1..25 or a key outside kFieldKeys
// is a programming error and throws std::out_of_range.
class Applicants {
public:
    const std::string& Field(int group, const std::string& key) const;
    void SetField(int group, const std::string& key, std::string text);

    bool operator==(const Applicants&) const = default;

private:
    static size_t KeyIndex(const std::string& key);

    std::array<std::array<std::string, kFieldCount>, kGroupCount> fields_;
};

} // namespace orvane
