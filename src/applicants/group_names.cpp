#include "group_names.h"

#include "profile/profile_file.h"
#include "text/ansi_literals.h"

namespace orvane {

const std::array<std::string, kFieldCount> kFieldKeys = {"姓名", "身份证", "手机号"};
const std::string& NameKey() {
    return kFieldKeys[0];
}
const std::string& IdKey() {
    return kFieldKeys[1];
}
const std::string& PhoneKey() {
    return kFieldKeys[2];
}

size_t FieldByteLimit(const std::string& key) {
    return key == IdKey() ? 18 : key == PhoneKey() ? 11 : kProfileValueLimit;
}

std::string ChineseNumeral(int n) {
    static const std::array<std::string, 10> digits = {"",   "一", "二", "三", "四",
                                                       "五", "六", "七", "八", "九"};
    int tens = n / 10 % 10;
    std::string text = tens > 1 ? digits[size_t(tens)] : "";
    if (tens > 0) {
        text += "十";
    }
    return text + digits[size_t(n % 10)];
}

std::string GroupCaption(int group) {
    return "第" + ChineseNumeral(group) + "组";
}

} // namespace orvane
