#include "page_settings.h"

#include "information_file.h"

#include "profile/profile_file.h"
#include "text/ansi_literals.h"

namespace orvane {

namespace {

const std::string kSection = "配置";

} // namespace

PageSettings PageSettingsIn(const std::optional<ProfileItems>& items) {
    const PageSettings defaults;
    return {ProfileItemIn(items, kSection, kOpeningTimeKey, defaults.openingTime),
            ProfileItemIn(items, kSection, kSoundKey, SoundText(defaults.sound)) !=
                SoundText(false),
            ProfileItemIn(items, kSection, kHotKeyKey, defaults.hotKey),
            ProfileItemIn(items, kSection, kSequenceKey, defaults.sequence),
            ProfileItemIn(items, kSection, kTimeUrlKey, defaults.timeUrl)};
}

Result<> WritePageSetting(const std::string& file, const std::string& key,
                          const std::string& value) {
    return WritePageSettings(file, {{key, value}});
}

Result<> WritePageSettings(const std::string& file, const SettingValues& settings) {
    MakeInformationFolder(file);
    std::vector<ProfileItem> items;
    for (const auto& [key, value] : settings) {
        items.push_back({kSection, key, value});
    }
    return WriteProfileItems(file, items);
}

std::string SoundText(bool on) {
    return on ? "真" : "假";
}

} // namespace orvane
