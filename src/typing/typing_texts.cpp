#include "typing_texts.h"

#include "text/ansi_literals.h"

namespace orvane {

std::string UnknownModifierText(const std::string& part) {
    return "输入热键中的“" + part + "”无法识别，应为 Ctrl、Alt、Shift 或 Win";
}

std::string UnknownKeyText(const std::string& part) {
    return "输入热键中的“" + part + "”无法识别，应为字母、数字或 F1 到 F12";
}

std::string RepeatedModifierText(const std::string& part) {
    return "输入热键中的“" + part + "”重复了，每个键只写一次";
}

namespace {

// What the chord does elsewhere.
const char* UseOf(ReservedUse use) {
    switch (use) {
    case ReservedUse::Editing:
        return "是各个程序都用的编辑键（复制、粘贴、剪切、撤销、全选、保存等）";
    case ReservedUse::Page:
        return "在浏览器里会关闭或刷新网页";
    case ReservedUse::Menu:
        return "会打开程序的菜单或切换标签页";
    case ReservedUse::WindowManager:
        return "是管理窗口用的键（如 Alt+F4 关闭窗口）";
    case ReservedUse::System:
        return "是系统的快捷键（如 Win+L 锁定电脑）";
    case ReservedUse::Desktop:
        return "是桌面的快捷键（如 Ctrl+Alt+T 打开终端、Ctrl+Alt+L 锁屏）";
    case ReservedUse::Console:
        return "在 Linux 上会切换到字符终端";
    }
    return "";
}

} // namespace

std::string ReservedKeyText(const std::string& key, ReservedUse use) {
    return "输入热键不能用 " + key + "：它" + UseOf(use) + "。请换一个，例如 Ctrl+Alt+V";
}

std::string NoModifierText() {
    return "输入热键须含 Ctrl、Alt 或 Win，否则会占用打字用的键";
}

std::string MissingBraceText(const std::string& rest) {
    return "输入顺序中的“" + rest + "”缺少 }";
}

std::string UnknownNameText(const std::string& name) {
    return "输入顺序中的 {" + name + "} 无法识别，可用 {姓名}{身份证}{手机号}{TAB}{ENTER}";
}

std::string NoFieldText() {
    return "输入顺序须含 {姓名}、{身份证}、{手机号} 中的至少一项，否则按输入热键什么也不会输入";
}

std::string LongSequenceText(size_t length, size_t limit) {
    return "输入顺序太长：有 " + std::to_string(length) + " 个字节，最多 " + std::to_string(limit) +
           " 个";
}

std::string JoinedName(const std::string& names, const std::string& field) {
    return names.empty() ? field : names + "、" + field;
}

std::string UnnamedBoxText(size_t place) {
    return "第" + std::to_string(place) + "个输入框";
}

} // namespace orvane
