#pragma once

#include "http/web_request.h"

#include <string>

namespace orvane {

// One web request as the tests make it, with what came back.
struct FetchResult {
    std::string body;
    std::string headers;
    int status = -1;
    RequestFailure failure = RequestFailure::Cancelled;
};

inline FetchResult Fetch(WebRequestParams p) {
    FetchResult result;
    p.responseHeaders = &result.headers;
    p.statusCode = &result.status;
    p.failure = &result.failure;
    ByteArray body = WebRequest(p);
    result.body.assign(body.begin(), body.end());
    return result;
}

inline WebRequestParams To(const std::string& url, HttpMethod method = HttpMethod::Get) {
    WebRequestParams p;
    p.url = url;
    p.method = method;
    return p;
}

} // namespace orvane
