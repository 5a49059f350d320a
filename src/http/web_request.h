#pragma once

#include "request_service.h"
#include "text/bytes.h"

#include <functional>
#include <optional>
#include <string>

namespace orvane {

// The request methods, numbered as they are stored and passed on. A number
// outside 0..7 counts as Get.
enum class HttpMethod : int {
    Get = 0,
    Post = 1,
    Head = 2,
    Put = 3,
    Options = 4,
    Delete = 5,
    Trace = 6,
    Connect = 7,
};

// What one web request sends, and how.
struct WebRequestParams {
    std::string url;
    HttpMethod method = HttpMethod::Get;
    std::string postText;
    // The cookie text to send; none: no Cookie header, and no merge.
    std::optional<std::string> cookies;
    std::string extraHeaders; // "Name: value" lines joined by CR LF
    bool noRedirect = false;
    ByteArray postBytes;    // sent instead of postText when not empty
    std::string proxy;      // "host:port"
    int timeoutSeconds = 0; // -1: the request object's own; below 1: 15 s
    std::string proxyUser;
    std::string proxyPassword;
    LoginFor credentialTarget = LoginFor::Proxy;
    // Omitted: a new request object. Given but empty: no request is made.
    std::optional<SharedRequest> sharedRequest;
    bool mergeCookies = true;
    bool completeHeaders = true;
    bool normaliseHeaderNames = true;
};

// The response, with the cookies it set ("a=1; b=2", merged with those
// sent when merging applies) and the cookie text as it was sent.
struct WebResponse : Response {
    std::string returnedCookies;
    std::optional<std::string> cookies;
};

using RequestFactory = std::function<SharedRequest()>;

// One synchronous HTTP request with the program's policy: default headers
// added only when missing, header names normalised, a proxy with Basic
// credentials, per-phase time-outs, redirects and a cookie exchange. When no
// request object can be made the response says so and the cookies are the
// ones given. Safe to call from any thread; a shared request must not be
// used by two at once.
WebResponse WebRequest(const WebRequestParams& params,
                       const RequestFactory& create = CreateRequestService);

// The cookies that a response's "Set-Cookie: " lines set, as "a=1; b=2".
std::string CollectCookies(const std::string& responseHeaders);

} // namespace orvane
