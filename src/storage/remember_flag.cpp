#include "remember_flag.h"

#include "information_file.h"

#include "profile/profile_file.h"
#include "text/ansi_literals.h"

namespace orvane {

namespace {

const std::string kSection = "配置";
const std::string kKey = "记住配置";
const std::string kTrue = "真";
const std::string kFalse = "假";

} // namespace

bool IsTrueText(const std::string& text) {
    return text == kTrue;
}

bool RememberFlagIn(const std::optional<ProfileItems>& items) {
    return IsTrueText(ProfileItemIn(items, kSection, kKey, kTrue));
}

Result<> WriteRememberFlag(const std::string& file, bool remember) {
    MakeInformationFolder(file);
    return WriteProfileItem(file, kSection, kKey, remember ? kTrue : kFalse);
}

} // namespace orvane
