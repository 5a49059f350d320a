#include "fatal_error.h"

#include "runtime/ansi_literals.h"

namespace orvane {

std::string FatalErrorText(const std::string& message, std::optional<int> code) {
    std::string codeText = code ? std::to_string(*code) : std::string();
    return "运行时出错!\n错误代码：" + codeText + "\n错误信息：" + message;
}

} // namespace orvane
