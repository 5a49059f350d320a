#include "applicants.h"

#include <algorithm>
#include <stdexcept>

namespace orvane {

const std::string& Applicants::Field(int group, const std::string& key) const {
    return fields_.at(size_t(group - 1)).at(KeyIndex(key));
}

void Applicants::SetField(int group, const std::string& key, std::string text) {
    fields_.at(size_t(group - 1)).at(KeyIndex(key)) = std::move(text);
}

size_t Applicants::KeyIndex(const std::string& key) {
    const auto* found = std::find(kFieldKeys.begin(), kFieldKeys.end(), key);
    if (found == kFieldKeys.end()) {
        throw std::out_of_range("no applicant field of that key");
    }
    return size_t(found - kFieldKeys.begin());
}

} // namespace orvane
