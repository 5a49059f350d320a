#include "datetime.h"

#include "ansi_literals.h"

#include <cstdio>

std::string ToText(DateTime dateTime) {
    DateParts p = BreakDown(dateTime);
    char buffer[96];
    int length = std::snprintf(buffer, sizeof buffer, "%d年%d月%d日", p.year, p.month, p.day);
    if (p.second != 0) {
        std::snprintf(buffer + length, sizeof buffer - size_t(length), "%d时%d分%d秒", p.hour,
                      p.minute, p.second);
    } else if (p.minute != 0) {
        std::snprintf(buffer + length, sizeof buffer - size_t(length), "%d时%d分", p.hour,
                      p.minute);
    } else if (p.hour != 0) {
        std::snprintf(buffer + length, sizeof buffer - size_t(length), "%d时", p.hour);
    }
    return buffer;
}
