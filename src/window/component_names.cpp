#include "component_names.h"

#include "text/ansi_literals.h"

#include <cstdio>
#include <cstdlib>

namespace orvane {

const std::string kAllPhoneBox = "编辑框_全部手机号";
const std::string kAllPhoneButton = "按钮_全部页设置";
const std::string kRememberBox = "选择框_记住配置";
const std::string kTopmostBox = "选择框_窗口置顶";
const std::string kTimeToggleButton = "按钮_显示_关闭";
const std::string kSaveButton = "按钮_保存配置";
const std::string kLoadButton = "按钮_读取配置";
const std::string kPageControl = "高级选择夹1";
const std::string kStatusBar = "状态条";
const std::string kTicker = "时钟";
const std::string kMainWindow = "启动窗口";
const std::string kOpeningTimeBox = "编辑框_开始时间";
const std::string kSoundBox = "选择框_提示音";
const std::string kHotKeyBox = "编辑框_输入热键";
const std::string kSequenceBox = "编辑框_输入顺序";
const std::string kTypingButton = "按钮_输入设置";
const std::string kTimeUrlBox = "编辑框_时间网址";
const std::string kRehearseButton = "按钮_演练";

void ExpectComponent([[maybe_unused]] bool found, [[maybe_unused]] const std::string& name) {
#ifndef NDEBUG
    if (!found) {
        std::fprintf(stderr, "no component %s of the asked kind\n", name.c_str());
        std::abort();
    }
#endif
}

std::string PageCaption(int page) {
    return "第" + ChineseNumeral(page) + "页";
}
int PageOfGroup(int group) {
    return ((group - 1) / kGroupsPerPage) + 1;
}
int FirstGroupOfPage(int page) {
    return ((page - 1) * kGroupsPerPage) + 1;
}

std::string GroupBoxName(int group) {
    return "分组框" + std::to_string(group);
}

std::string EditBoxName(int group, const std::string& key) {
    return "编辑框" + std::to_string(group) + "_" + key;
}

std::string CopyButtonName(int group, const std::string& key) {
    return "按钮" + std::to_string(group) + "_" + key;
}

std::string RestoreButtonName(int group) {
    return "按钮" + std::to_string(group) + "_恢复";
}
std::string PagePhoneBoxName(int page) {
    return "编辑框_" + PageCaption(page) + "手机号";
}
std::string PagePhoneButtonName(int page) {
    return "按钮_" + PageCaption(page) + "设置";
}
std::string DrawPanelName(int page) {
    return "画板" + std::to_string(page);
}

} // namespace orvane
