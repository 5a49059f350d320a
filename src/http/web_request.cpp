#include "web_request.h"

#include "header_utils.h"
#include "numbers.h"
#include "text.h"

#include <array>

namespace {

const std::array<std::string, 8> kMethods = {"GET",     "POST",   "HEAD",  "PUT",
                                             "OPTIONS", "DELETE", "TRACE", "CONNECT"};
const std::string kCrLf = "\r\n";
constexpr int kDefaultTimeoutMs = 15000;

struct DefaultHeader {
    std::string searchedFor;
    std::string line;
};

std::string WithDefaultHeaders(const WebRequestParams& p, int method) {
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
    if (method == 1 && FindSubtext(headers, "Content-Type:", std::nullopt, true) == -1) {
        headers += kCrLf + "Content-Type: application/x-www-form-urlencoded";
    }
    return headers;
}

// Forwards to the request object; every call is skipped when there is none.
class Request {
  public:
    explicit Request(RequestService* service) : service_(service) {}
    template <class F> void Do(F&& call) {
        if (service_ != nullptr) {
            call(*service_);
        }
    }
    template <class T, class F> T Read(F&& read) {
        return service_ != nullptr ? read(*service_) : T();
    }

  private:
    RequestService* service_;
};

void SetTimeouts(Request& request, int timeoutSeconds) {
    if (timeoutSeconds == -1) {
        return;
    }
    int ms =
        timeoutSeconds < 1 ? kDefaultTimeoutMs : TruncateToInteger(double(timeoutSeconds) * 1000.0);
    request.Do([ms](RequestService& r) { r.SetTimeouts(ms, ms, ms, ms); });
}

void SetProxyCredentials(Request& request, const WebRequestParams& p) {
    if (p.proxy.empty() || p.proxyUser.empty()) {
        return;
    }
    request.Do([&](RequestService& r) {
        r.SetCredentials(p.proxyUser, p.proxyPassword, p.credentialTarget);
    });
    if (p.credentialTarget == 1) {
        std::string token = Base64Encode(BytesFromText(p.proxyUser + ":" + p.proxyPassword));
        request.Do([&](RequestService& r) {
            r.SetRequestHeader("Proxy-Authorization", "Basic " + token);
        });
    }
}

void SetCookieHeader(Request& request, std::string& cookies) {
    if (!cookies.empty() && FindSubtext(cookies, "Cookie:", std::nullopt, true) != -1) {
        cookies = ReplaceSubtext(cookies, "Cookie:", "");
    }
    request.Do([&](RequestService& r) { r.SetRequestHeader("Cookie", cookies); });
}

void SetHeaderLines(Request& request, const std::string& headers) {
    if (FindSubtext(headers, kCrLf) == -1) {
        request.Do([&](RequestService& r) {
            r.SetRequestHeader(HeaderLineName(headers), HeaderLineValue(headers));
        });
        return;
    }
    for (const std::string& line : SplitText(headers, kCrLf)) {
        std::string name = HeaderLineName(line);
        std::string value = HeaderLineValue(line);
        if (line.empty() || (name == "Connection" && value == "keep-alive")) {
            continue;
        }
        request.Do([&](RequestService& r) { r.SetRequestHeader(name, value); });
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

ByteArray WebRequest(const WebRequestParams& p, const RequestFactory& create) {
    int method = p.method < 0 || p.method > 7 ? 0 : p.method;
    SharedRequest service = p.sharedRequest ? *p.sharedRequest : create();
    if (!p.sharedRequest && service == nullptr) {
        return {};
    }
    Request request(service.get());

    SetTimeouts(request, p.timeoutSeconds);
    if (!p.proxy.empty()) {
        request.Do([&](RequestService& r) { r.SetProxy(2, p.proxy); });
    }
    request.Do([&](RequestService& r) { r.Open(kMethods[size_t(method)], p.url, false); });
    if (p.noRedirect) {
        request.Do([](RequestService& r) { r.SetOption(6, 0); });
    }
    // Certificate errors are never ignored: the service always verifies.
    std::string headers = p.completeHeaders ? WithDefaultHeaders(p, method) : p.extraHeaders;
    if (p.normaliseHeaderNames) {
        headers = NormaliseHeaderNames(headers);
    }
    SetProxyCredentials(request, p);
    if (p.cookies != nullptr) {
        SetCookieHeader(request, *p.cookies);
    }
    SetHeaderLines(request, headers);
    if (!p.postBytes.empty()) {
        request.Do([&](RequestService& r) { r.Send(p.postBytes); });
    } else {
        request.Do([&](RequestService& r) { r.Send(p.postText); });
    }

    ByteArray body = request.Read<ByteArray>([](RequestService& r) { return r.ResponseBody(); });
    std::string responseHeaders =
        request.Read<std::string>([](RequestService& r) { return r.GetAllResponseHeaders(); });
    int status =
        TruncateToInteger(request.Read<double>([](RequestService& r) { return r.Status(); }));
    request.Read<std::string>([](RequestService& r) { return r.StatusText(); });

    std::string returned = CollectCookies(responseHeaders);
    if (p.mergeCookies && p.cookies != nullptr) {
        returned = MergeCookies(*p.cookies, returned);
    }
    if (p.responseHeaders != nullptr) {
        *p.responseHeaders = responseHeaders;
    }
    if (p.statusCode != nullptr) {
        *p.statusCode = status;
    }
    if (p.returnedCookies != nullptr) {
        *p.returnedCookies = returned;
    }
    return body;
}
