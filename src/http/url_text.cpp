#include "url_text.h"

#include "text/ansi_literals.h"
#include "text/text.h"
#include "text/unicode_text.h"

#include <algorithm>
#include <cstdio>

namespace orvane {

namespace {

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return !IsLeadByte(c); });
}

// Where the authority (user information, host, port) ends.
size_t AuthorityEnd(const std::string& url, size_t start) {
    size_t end = url.find_first_of("/?#", start);
    return end == std::string::npos ? url.size() : end;
}

} // namespace

Result<std::string> SendableUrl(const std::string& url) {
    std::string scheme = ToUpperCase(url.substr(0, url.find("://")));
    if (url.find("://") == std::string::npos || (scheme != "HTTP" && scheme != "HTTPS")) {
        return Failure{"只支持以 http:// 或 https:// 开头的网址"};
    }
    size_t host = url.find("://") + 3;
    size_t end = AuthorityEnd(url, host);
    if (end == host) {
        return Failure{"网址缺少服务器名"};
    }
    if (!IsAscii(url.substr(host, end - host))) {
        return Failure{"网址的服务器名含有中文等非英文字符，请改用其英文域名"};
    }
    std::string sendable = url.substr(0, end);
    for (unsigned char c : Utf8Of(url.substr(end))) {
        if (c >= 0x80 || c <= 0x20) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            sendable += escaped;
        } else {
            sendable += char(c);
        }
    }
    return sendable;
}

std::string UrlForDisplay(const std::string& url) {
    size_t scheme = url.find("://");
    if (scheme == std::string::npos) {
        return url;
    }
    size_t host = scheme + 3;
    size_t at = url.rfind('@', AuthorityEnd(url, host));
    return at == std::string::npos || at < host ? url : url.substr(0, host) + url.substr(at + 1);
}

std::string UrlForLog(const std::string& url) {
    std::string shown = UrlForDisplay(url);
    return shown.substr(0, shown.find_first_of("?#"));
}

} // namespace orvane
