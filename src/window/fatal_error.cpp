#include "fatal_error.h"

#include "files/failure_log.h"
#include "text/ansi_literals.h"

#include <atomic>
#include <new>

namespace orvane {

namespace {

std::atomic<bool> reported{false};

} // namespace

const std::string kWindowNotBuilt = "载入启动窗口失败";

void FatalError(const std::string& message, FatalCode code) {
    if (reported.exchange(true)) {
        return;
    }
    std::string text = FatalErrorText(message, code);
    LogFailure(text);
    ReportFatalError(text);
}

bool FatalErrorReported() {
    return reported;
}

void RunGuarded(const std::function<void()>& handler) {
    if (reported) {
        return;
    }
    try {
        handler();
    } catch (const std::bad_alloc&) {
        FatalError("分配内存失败!", FatalCode::OutOfMemory);
    } catch (const std::exception& error) {
        FatalError(error.what(), FatalCode::HandlerFailed);
    }
}

std::string FatalErrorText(const std::string& message, FatalCode code) {
    return "运行时出错!\n错误代码：" + std::to_string(int(code)) + "\n错误信息：" + message;
}

} // namespace orvane
