#include "configured_request.h"

#include <algorithm>

namespace orvane {

void ConfiguredRequest::Open(const std::string& method, const std::string& url) {
    method_ = method;
    url_ = url;
    requestHeaders_.clear();
}

long long ConfiguredRequest::WholeCallMs() const {
    long long whole = 0;
    for (int phase : {timeouts_.resolve, timeouts_.connect, timeouts_.send, timeouts_.receive}) {
        whole += std::max(phase, 0);
    }
    return whole;
}

void ConfiguredRequest::SetLogin(LoginFor target, const std::string& user,
                                 const std::string& password) {
    (target == LoginFor::Server ? serverLogin_ : proxyLogin_) = {user, password};
}

void ConfiguredRequest::SetRequestHeader(const std::string& name, const std::string& value) {
    bool sendable = !name.empty() && name.find_first_of(": \r\n") == std::string::npos &&
                    value.find_first_of("\r\n") == std::string::npos;
    if (sendable) {
        requestHeaders_.emplace_back(name, value);
    }
}

} // namespace orvane
