#include "http_date.h"

#include "text/text.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <sstream>
#include <vector>

namespace orvane {

namespace {

bool IsDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// 1..12 for an English month name's first three letters, else 0.
int MonthOf(const std::string& name) {
    static const std::array<std::string, 12> months = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                       "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    std::string upper = ToUpperCase(name);
    for (size_t i = 0; i < months.size(); ++i) {
        if (upper == months[i]) {
            return int(i) + 1;
        }
    }
    return 0;
}

// A day of the week, short or long ("Sun", "Sunday"), in any case.
bool IsWeekday(const std::string& name) {
    static const std::array<std::string, 7> days = {"MONDAY", "TUESDAY",  "WEDNESDAY", "THURSDAY",
                                                    "FRIDAY", "SATURDAY", "SUNDAY"};
    std::string upper = ToUpperCase(name);
    return std::ranges::any_of(
        days, [&](const std::string& day) { return upper == day || upper == day.substr(0, 3); });
}

struct Parts {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

bool ReadClock(const std::string& text, Parts& parts) {
    char colon1 = 0;
    char colon2 = 0;
    std::istringstream in(text);
    in >> parts.hour >> colon1 >> parts.minute >> colon2 >> parts.second;
    return in && in.peek() == EOF && colon1 == ':' && colon2 == ':' && parts.hour < 24 &&
           parts.minute < 60 && parts.second < 61 && text.size() == 8;
}

// A two-digit year of RFC 850: 71 to 99 are 1971 to 1999, the rest 20xx.
int FullYear(const std::string& digits) {
    int year = std::stoi(digits);
    return digits.size() == 2 ? (year > 70 ? 1900 + year : 2000 + year) : year;
}

bool IsGmt(const std::string& zone) {
    return zone == "GMT" || zone == "UTC" || zone == "UT" || zone == "Z" || zone == "+0000";
}

std::vector<std::string> Tokens(std::string text) {
    for (char& c : text) {
        if (c == ',' || c == '-' || c == '\t') {
            c = ' ';
        }
    }
    std::vector<std::string> tokens;
    std::istringstream in(text);
    for (std::string token; in >> token;) {
        tokens.push_back(token);
    }
    return tokens;
}

// Day, month, year, clock, zone (RFC 1123, RFC 850), or month, day,
// clock, year (asctime), after the day of the week.
bool ReadParts(const std::vector<std::string>& t, Parts& parts) {
    if (t.empty() || !IsWeekday(t[0])) {
        return false;
    }
    if (t.size() == 6 && IsDigits(t[1]) && IsDigits(t[3]) && t[1].size() <= 2 &&
        (t[3].size() == 2 || t[3].size() == 4) && IsGmt(t[5])) {
        parts.day = std::stoi(t[1]);
        parts.month = MonthOf(t[2]);
        parts.year = FullYear(t[3]);
        return ReadClock(t[4], parts);
    }
    if (t.size() == 5 && IsDigits(t[2]) && t[2].size() <= 2 && IsDigits(t[4]) && t[4].size() == 4) {
        parts.month = MonthOf(t[1]);
        parts.day = std::stoi(t[2]);
        parts.year = std::stoi(t[4]);
        return ReadClock(t[3], parts);
    }
    return false;
}

// The date, when it exists in the years a Date header can name.
std::optional<std::chrono::sys_days> DayOf(const Parts& p) {
    using namespace std::chrono;
    year_month_day date{year{p.year}, month{unsigned(p.month)}, day{unsigned(p.day)}};
    if (p.year < 1601 || p.year > 9999 || !date.ok()) {
        return std::nullopt;
    }
    return sys_days{date};
}

} // namespace

std::optional<std::int64_t> HttpDateSeconds(const std::string& text) {
    using namespace std::chrono;
    Parts parts;
    if (!ReadParts(Tokens(text), parts)) {
        return std::nullopt;
    }
    std::optional<sys_days> date = DayOf(parts);
    if (!date) {
        return std::nullopt;
    }
    int second = std::min(parts.second, 59); // a leap second shows as :59
    sys_seconds moment = *date + hours{parts.hour} + minutes{parts.minute} + seconds{second};
    return moment.time_since_epoch().count();
}

} // namespace orvane
