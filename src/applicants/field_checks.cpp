#include "field_checks.h"

#include "datetime/datetime.h"
#include "text/ansi_literals.h"
#include "text/text.h"

#include <algorithm>
#include <array>
#include <chrono>

namespace orvane {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool AllDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), IsDigit);
}

int Number(const std::string& digits) {
    return std::stoi(digits);
}

char CheckCharacter(const std::string& first17) {
    static const int weights[] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    int sum = 0;
    for (size_t i = 0; i < 17; ++i) {
        sum += (first17[i] - '0') * weights[i];
    }
    return "10X98765432"[sum % 11];
}

std::optional<std::string> BirthDateFinding(const std::string& id,
                                            std::chrono::year_month_day today) {
    using namespace std::chrono;
    int y = Number(id.substr(6, 4));
    unsigned m = unsigned(Number(id.substr(10, 2)));
    unsigned d = unsigned(Number(id.substr(12, 2)));
    year_month_day birth{year{y}, month{m}, day{d}};
    std::string shown =
        std::to_string(y) + "年" + std::to_string(m) + "月" + std::to_string(d) + "日";
    if (!birth.ok()) {
        return "出生日期" + shown + "不存在";
    }
    if (y < 1900) {
        return "出生日期" + shown + "早于1900年";
    }
    if (today < birth) {
        return "出生日期" + shown + "在今天之后";
    }
    return std::nullopt;
}

// The other group that holds the same ID number, if any.
std::optional<int> DuplicateOf(const Applicants& applicants, int group) {
    std::string mine = ToUpperCase(TrimAnyBlanks(applicants.Field(group, IdKey())));
    for (int other = 1; other <= kGroupCount; ++other) {
        if (other != group && !mine.empty() &&
            ToUpperCase(TrimAnyBlanks(applicants.Field(other, IdKey()))) == mine) {
            return other;
        }
    }
    return std::nullopt;
}

void Add(std::string& findings, const std::optional<std::string>& finding) {
    if (finding) {
        findings += (findings.empty() ? "" : "\n") + *finding;
    }
}

} // namespace

std::chrono::year_month_day Today() {
    using namespace std::chrono;
    return year_month_day{floor<days>(system_clock::now() + kBeijingOffset)};
}

std::optional<std::string> IdNumberFinding(const std::string& text,
                                           std::chrono::year_month_day today) {
    std::string id = ToUpperCase(TrimAnyBlanks(text));
    if (id.size() == 15 && AllDigits(id)) {
        return std::string("这是15位的旧身份证号码，请改用18位的新号码");
    }
    if (id.size() != 18) {
        return "身份证号码应为18位，现在是" + std::to_string(id.size()) + "位";
    }
    if (!AllDigits(id.substr(0, 17))) {
        return std::string("身份证号码的前17位应全是数字");
    }
    if (!IsDigit(id[17]) && id[17] != 'X') {
        return std::string("身份证号码的最后一位应是数字或X");
    }
    if (std::optional<std::string> birth = BirthDateFinding(id, today)) {
        return birth;
    }
    char expected = CheckCharacter(id);
    if (id[17] != expected) {
        return "校验位不对：按前17位，最后一位应是" + std::string(1, expected);
    }
    return std::nullopt;
}

std::optional<std::string> PhoneFinding(const std::string& text) {
    std::string phone = TrimAnyBlanks(text);
    if (phone.size() == 11 && AllDigits(phone) && phone[0] == '1' && phone[1] >= '3') {
        return std::nullopt;
    }
    return std::string("手机号应为11位数字，以13～19开头");
}

std::optional<std::string> BlanksFinding(const std::string& text) {
    if (TrimAnyBlanks(text).size() == text.size()) {
        return std::nullopt;
    }
    return std::string("开头或结尾有空格（含全角空格、不换行空格）：复制时会去掉");
}

std::optional<std::string> FieldFinding(const Applicants& applicants, int group,
                                        const std::string& key, std::chrono::year_month_day today) {
    const std::string& text = applicants.Field(group, key);
    if (text.empty()) {
        return std::nullopt;
    }
    std::string findings;
    Add(findings, BlanksFinding(text));
    if (key == IdKey()) {
        Add(findings, IdNumberFinding(text, today));
        if (std::optional<int> other = DuplicateOf(applicants, group)) {
            Add(findings, "与" + GroupCaption(*other) + "的身份证号码相同");
        }
    } else if (key == PhoneKey()) {
        Add(findings, PhoneFinding(text));
    }
    return findings.empty() ? std::nullopt : std::optional(findings);
}

} // namespace orvane
