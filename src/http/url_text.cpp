#include "url_text.h"

#include "text/ansi_literals.h"
#include "text/text.h"
#include "text/unicode_text.h"

#include <algorithm>
#include <cctype>
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

namespace {

// What is wrong with a URL's authority (user information, host, port) as
// a request would parse it; empty when nothing is.
std::string AuthorityFault(const std::string& authority) {
    size_t at = authority.rfind('@');
    std::string place = at == std::string::npos ? authority : authority.substr(at + 1);
    if (place.empty()) {
        return "网址缺少服务器名";
    }
    if (!IsAscii(place)) {
        return "网址的服务器名含有中文等非英文字符，请改用其英文域名";
    }
    bool bracketed = place.front() == '[';
    size_t hostEnd = bracketed ? place.find(']') + 1 : place.rfind(':');
    std::string host = place.substr(0, std::min(hostEnd, place.size()));
    std::string port = hostEnd < place.size() ? place.substr(hostEnd) : "";
    const std::string allowed = bracketed ? "0123456789abcdefABCDEF:.[]" : "-._";
    bool fine = !host.empty() && std::all_of(host.begin(), host.end(), [&](char c) {
        return allowed.find(c) != std::string::npos ||
               (!bracketed && std::isalnum(static_cast<unsigned char>(c)) != 0);
    });
    if (!fine || (bracketed && host.back() != ']')) {
        return "网址的服务器名“" + host + "”里有空格或别的不能用在服务器名里的字符";
    }
    if (port.empty()) {
        return {};
    }
    std::string digits = port.substr(1);
    bool number =
        !digits.empty() && digits.size() <= 5 &&
        std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!number || std::stoi(digits) < 1 || std::stoi(digits) > 65535) {
        return "网址的端口“" + digits + "”不是 1 到 65535 之间的数字";
    }
    return {};
}

} // namespace

Result<std::string> SendableUrl(const std::string& url) {
    std::string scheme = ToUpperCase(url.substr(0, url.find("://")));
    if (url.find("://") == std::string::npos || (scheme != "HTTP" && scheme != "HTTPS")) {
        return Failure{"只支持以 http:// 或 https:// 开头的网址"};
    }
    size_t host = url.find("://") + 3;
    size_t end = AuthorityEnd(url, host);
    if (std::string fault = AuthorityFault(url.substr(host, end - host)); !fault.empty()) {
        return Failure{fault};
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
