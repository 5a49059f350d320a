#pragma once

#include "request_service.h"
#include "runtime/bytes.h"

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

// The parameters of one web request. Out and in/out parameters point at the
// caller's variables; a null pointer is an omitted parameter.
struct WebRequestParams {
    std::string url;
    HttpMethod method = HttpMethod::Get;
    std::string postText;
    std::string* cookies = nullptr;         // in/out; omitted: no Cookie header, no merge
    std::string* returnedCookies = nullptr; // out
    std::string extraHeaders;               // "Name: value" lines joined by CR LF
    std::string* responseHeaders = nullptr; // out
    int* statusCode = nullptr;              // out
    bool noRedirect = false;
    ByteArray postBytes;    // sent instead of postText when not empty
    std::string proxy;      // "host:port"
    int timeoutSeconds = 0; // -1: the request object's own; below 1: 15 s
    std::string proxyUser;
    std::string proxyPassword;
    int credentialTarget = kCredentialsForProxy;
    // Omitted: a new request object. Given but empty: no request is made.
    std::optional<SharedRequest> sharedRequest;
    bool mergeCookies = true;
    bool completeHeaders = true;
    bool normaliseHeaderNames = true;
    RequestFailure* failure = nullptr; // out: why there was no response, or None
};

using RequestFactory = std::function<SharedRequest()>;

// One synchronous HTTP request with the program's policy: default headers
// added only when missing, header names normalised, a proxy with Basic
// credentials, per-phase time-outs, redirects and a cookie exchange. Returns
// the response body; empty when no request object can be made (the out
// parameters are then left alone) or the request fails. Safe to call from
// any thread; a shared request must not be used by two at once.
ByteArray WebRequest(const WebRequestParams& params,
                     const RequestFactory& create = CreateRequestService);

// The cookies that a response's "Set-Cookie: " lines set, as "a=1; b=2".
std::string CollectCookies(const std::string& responseHeaders);

} // namespace orvane
