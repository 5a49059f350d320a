#include "table_paste.h"

#include "table_text.h"
#include "text/ansi_literals.h"

#include <algorithm>

namespace orvane {

namespace {

std::string LineName(int number) {
    return "第" + std::to_string(number) + "行";
}

// Whether a row can be written: three fields, each fitting its box.
Result<> RowFits(const std::vector<std::string>& fields, int number) {
    if (fields.size() != size_t(kFieldCount)) {
        return Failure{LineName(number) + "有" + std::to_string(fields.size()) +
                       "项，应为姓名、身份证、手机号3项"};
    }
    for (size_t i = 0; i < fields.size(); ++i) {
        size_t limit = FieldByteLimit(kFieldKeys[i]);
        if (fields[i].size() > limit) {
            return Failure{LineName(number) + "的" + kFieldKeys[i] + "超过" +
                           std::to_string(limit) + "个字符"};
        }
    }
    return {};
}

bool HoldsText(const Applicants& applicants, int group) {
    return std::ranges::any_of(
        kFieldKeys, [&](const std::string& key) { return !applicants.Field(group, key).empty(); });
}

std::string GroupList(const std::vector<int>& groups) {
    std::string list;
    for (int group : groups) {
        list += (list.empty() ? "" : "、") + GroupCaption(group);
    }
    return list;
}

} // namespace

Result<TablePaste> PlanTablePaste(const std::string& table, int firstGroup,
                                  const Applicants& current) {
    TablePaste paste;
    paste.firstGroup = firstGroup;
    Result<> fits;
    ForEachTableLine(table, [&](const TableLine& line) {
        if (fits) {
            fits = RowFits(line.fields, line.number);
        }
        if (!fits) {
            return;
        }
        int group = firstGroup + int(paste.rows.size());
        if (group > kGroupCount) {
            ++paste.leftOut;
            return;
        }
        paste.rows.push_back({line.fields[0], line.fields[1], line.fields[2]});
        if (HoldsText(current, group)) {
            paste.overwritten.push_back(group);
        }
    });
    if (!fits) {
        return Failure{fits.Reason()};
    }
    return paste;
}

std::string TablePasteQuestion(const TablePaste& paste) {
    int last = paste.firstGroup + int(paste.rows.size()) - 1;
    std::string question = "将写入" + std::to_string(paste.rows.size()) + "组：" +
                           GroupCaption(paste.firstGroup) +
                           (last > paste.firstGroup ? "至" + GroupCaption(last) : "") + "。";
    if (!paste.overwritten.empty()) {
        question += "\n其中" + GroupList(paste.overwritten) + "已有内容，将被覆盖。";
    }
    if (paste.leftOut > 0) {
        question += "\n超出第二十五组的" + std::to_string(paste.leftOut) + "行不会写入。";
    }
    return question;
}

void ApplyTablePaste(const TablePaste& paste, Applicants& applicants) {
    for (size_t row = 0; row < paste.rows.size(); ++row) {
        for (size_t field = 0; field < kFieldKeys.size(); ++field) {
            applicants.SetField(paste.firstGroup + int(row), kFieldKeys[field],
                                paste.rows[row][field]);
        }
    }
}

} // namespace orvane
