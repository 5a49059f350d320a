#include "request_service.h"

#include "text/ansi_literals.h"

namespace orvane {

std::string RequestFailureText(RequestFailure failure) {
    switch (failure) {
    case RequestFailure::None:
        return {};
    case RequestFailure::Unavailable:
        return "无法发出请求";
    case RequestFailure::BadUrl:
        return "网址的格式不对，无法按它发出请求";
    case RequestFailure::NotResolved:
        return "找不到服务器";
    case RequestFailure::Refused:
        return "服务器拒绝连接";
    case RequestFailure::TimedOut:
        return "服务器没有及时回答";
    case RequestFailure::TooLarge:
        return "回答太大";
    case RequestFailure::Tls:
        return "安全连接失败（证书无效或加密协商失败）";
    case RequestFailure::Protocol:
        return "回答不是有效的 HTTP，或连接中断";
    case RequestFailure::Cancelled:
        return "请求已取消";
    }
    return {};
}

} // namespace orvane
