#include "fatal_error.h"

#include <new>

#include "text/ansi_literals.h"

namespace orvane {

const std::string kWindowNotBuilt = "载入启动窗口失败";

void RunGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::bad_alloc&) {
        FatalError("分配内存失败!");
    } catch (const std::exception& error) {
        FatalError(error.what());
    }
}

std::string FatalErrorText(const std::string& message, std::optional<int> code) {
    std::string codeText = code ? std::to_string(*code) : std::string();
    return "运行时出错!\n错误代码：" + codeText + "\n错误信息：" + message;
}

} // namespace orvane
