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

inline FetchResult Fetch(const WebRequestParams& p) {
    WebResponse response = WebRequest(p);
    return {std::string(response.body.begin(), response.body.end()), response.headers,
            response.status, response.failure};
}

inline WebRequestParams To(const std::string& url, HttpMethod method = HttpMethod::Get) {
    WebRequestParams p;
    p.url = url;
    p.method = method;
    return p;
}

} // namespace orvane
