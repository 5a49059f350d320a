#include "typing_texts.h"

#include "runtime/ansi_literals.h"

namespace orvane {

std::string UnknownModifierText(const std::string& part) {
    return "输入热键中的“" + part + "”无法识别，应为 Ctrl、Alt、Shift 或 Win";
}

std::string UnknownKeyText(const std::string& part) {
    return "输入热键中的“" + part + "”无法识别，应为字母、数字或 F1 到 F12";
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

} // namespace orvane
