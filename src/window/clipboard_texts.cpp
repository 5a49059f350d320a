#include "clipboard.h"

#include "text/ansi_literals.h"

namespace orvane {

const std::string kClipboardSilent =
    "剪贴板没有响应：占用剪贴板的程序在1秒内没有交出内容，请稍后再试。";

} // namespace orvane
