#include "web_request.h"

#include "header_utils.h"
#include "text/numbers.h"
#include "text/text.h"

#include <array>
#include <utility>

namespace orvane {

namespace {

const std::array<std::string, 8> kMethods = {"GET",     "POST",   "HEAD",  "PUT",
                                             "OPTIONS", "DELETE", "TRACE", "CONNECT"};
const std::string kCrLf = "\r\n";
constexpr int kDefaultTimeoutMs = 15000;

struct DefaultHeader {
    std::string searchedFor;
    std::string line;
};

// The method's name; an unknown number is GET.
const std::string& MethodName(HttpMethod method) {
    int index = int(method);
    return kMethods[index < 0 || std::cmp_greater_equal(index, kMethods.size()) ? 0
                                                                                : size_t(index)];
}

std::string WithDefaultHeaders(const WebRequestParams& p) {
    std::string headers = p.extraHeaders;
    const DefaultHeader defaults[] = {
        {"Accept:", "Accept: */*"},
        {"Referer:", "Referer: " + p.url},
        {"Accept-Language:", "Accept-Language: zh-cn"},
        {"User-Agent:", "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"},
    };
    for (const DefaultHeader& header : defaults) {
        if (FindSubtext(headers, header.searchedFor, std::nullopt, true) == -1) {
            headers += kCrLf + header.line;
        }
    }
    if (p.method == HttpMethod::Post &&
        FindSubtext(headers, "Content-Type:", std::nullopt, true) == -1) {
        headers += kCrLf + "Content-Type: application/x-www-form-urlencoded";
    }
    return headers;
}

// A shared request that holds no object: every call fails and has no
// effect, and every read gives the empty value.
class NoRequest : public RequestService {
public:
    void SetTimeouts(const Timeouts&) override {}
    void SetProxy(const std::string&) override {}
    void Open(const std::string&, const std::string&) override {}
    void SetFollowRedirects(bool) override {}
    void SetLogin(LoginFor, const std::string&, const std::string&) override {}
    void SetRequestHeader(const std::string&, const std::string&) override {}
    Response Send(const ByteArray&) override { return Unavailable(); }
    Response Send(const std::string&) override { return Unavailable(); }
    static Response Unavailable() { return {.failure = RequestFailure::Unavailable}; }
    void Cancel() override {}
};

void SetTimeouts(RequestService& request, int timeoutSeconds) {
    if (timeoutSeconds == -1) {
        return;
    }
    int ms =
        timeoutSeconds < 1 ? kDefaultTimeoutMs : TruncateToInteger(double(timeoutSeconds) * 1000.0);
    request.SetTimeouts({.resolve = ms, .connect = ms, .send = ms, .receive = ms});
}

void SetProxyCredentials(RequestService& request, const WebRequestParams& p) {
    if (p.proxy.empty() || p.proxyUser.empty()) {
        return;
    }
    request.SetLogin(p.credentialTarget, p.proxyUser, p.proxyPassword);
    if (p.credentialTarget == LoginFor::Proxy) {
        std::string token = Base64Encode(BytesFromText(p.proxyUser + ":" + p.proxyPassword));
        request.SetRequestHeader("Proxy-Authorization", "Basic " + token);
    }
}

void SetCookieHeader(RequestService& request, std::string& cookies) {
    if (!cookies.empty() && FindSubtext(cookies, "Cookie:", std::nullopt, true) != -1) {
        cookies = ReplaceSubtext(cookies, "Cookie:", "");
    }
    request.SetRequestHeader("Cookie", cookies);
}

void SetHeaderLines(RequestService& request, const std::string& headers) {
    if (FindSubtext(headers, kCrLf) == -1) {
        request.SetRequestHeader(HeaderLineName(headers), HeaderLineValue(headers));
        return;
    }
    for (const std::string& line : SplitText(headers, kCrLf)) {
        std::string name = HeaderLineName(line);
        std::string value = HeaderLineValue(line);
        if (line.empty() || (name == "Connection" && value == "keep-alive")) {
            continue;
        }
        request.SetRequestHeader(name, value);
    }
}

} // namespace

std::string CollectCookies(const std::string& responseHeaders) {
    std::string cookies;
    for (const std::string& line : SplitText(responseHeaders, kCrLf)) {
        if (TextBefore(line, ": ") != "Set-Cookie") {
            continue;
        }
        std::string item = FindSubtext(line, ";") != -1 ? TextBetween(line, "Set-Cookie:", ";")
                                                        : ReplaceSubtext(line, "Set-Cookie:", "");
        cookies += TrimSpaces(item) + "; ";
    }
    if (RightText(cookies, 2) == "; ") {
        cookies.resize(cookies.size() - 2);
    }
    return cookies;
}

WebResponse WebRequest(const WebRequestParams& p, const RequestFactory& create) {
    SharedRequest service = p.sharedRequest ? *p.sharedRequest : create();
    if (!p.sharedRequest && service == nullptr) {
        return {{.failure = RequestFailure::Unavailable}, "", p.cookies};
    }
    if (service == nullptr) {
        service = std::make_shared<NoRequest>();
    }
    RequestService& request = *service;

    SetTimeouts(request, p.timeoutSeconds);
    if (!p.proxy.empty()) {
        request.SetProxy(p.proxy);
    }
    request.Open(MethodName(p.method), p.url);
    if (p.noRedirect) {
        request.SetFollowRedirects(false);
    }
    // Certificate errors are never ignored: the service always verifies.
    std::string headers = p.completeHeaders ? WithDefaultHeaders(p) : p.extraHeaders;
    if (p.normaliseHeaderNames) {
        headers = NormaliseHeaderNames(headers);
    }
    SetProxyCredentials(request, p);
    std::optional<std::string> cookies = p.cookies;
    if (cookies) {
        SetCookieHeader(request, *cookies);
    }
    SetHeaderLines(request, headers);
    WebResponse response{!p.postBytes.empty() ? request.Send(p.postBytes)
                                              : request.Send(p.postText),
                         "", std::move(cookies)};
    response.returnedCookies = CollectCookies(response.headers);
    if (p.mergeCookies && response.cookies) {
        response.returnedCookies = MergeCookies(*response.cookies, response.returnedCookies);
    }
    return response;
}

} // namespace orvane
