#pragma once

#include "profile/profile_format.h"
#include "runtime/result.h"
#include "typing/hot_key.h"
#include "typing/typing_sequence.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvane {

// The settings of the countdown and of typing an applicant, in section
// "配置" of the information file: "开始时间" (e.g. 09:00:00, empty for none),
// "提示音" ("真" or "假"), "输入热键" (e.g. Ctrl+Alt+V), "输入顺序" (e.g.
// {姓名}{TAB}{身份证}{TAB}{手机号}) and "时间网址" (the server whose clock
// counts, empty for the default). Read at every start, whatever "记住配置"
// says; each written on its own when it changes.
// Each starts at its default: no opening time, sound on, Ctrl+Alt+V, the
// three fields with Tab between, the default server.
struct PageSettings {
    std::string openingTime;
    bool sound = true;
    std::string hotKey = kDefaultHotKeyText;
    std::string sequence = kDefaultSequence;
    std::string timeUrl;
};

// The settings in the file's items; a missing key gives its default.
PageSettings PageSettingsIn(const std::optional<ProfileItems>& items);

inline const std::string kOpeningTimeKey = "开始时间";
inline const std::string kSoundKey = "提示音";
inline const std::string kHotKeyKey = "输入热键";
inline const std::string kSequenceKey = "输入顺序";
inline const std::string kTimeUrlKey = "时间网址";

// Stores one of those keys, keeping everything else in the file.
Result<> WritePageSetting(const std::string& file, const std::string& key,
                          const std::string& value);
// Stores several, keys and values, in one write.
using SettingValues = std::vector<std::pair<std::string, std::string>>;
Result<> WritePageSettings(const std::string& file, const SettingValues& settings);
// "真" or "假".
std::string SoundText(bool on);

} // namespace orvane
