#include "configured_request.h"

namespace orvane {

void ConfiguredRequest::SetProxy(int setting, const std::string& proxy) {
    if (setting == kProxyNamed) {
        proxy_ = proxy;
    }
}

void ConfiguredRequest::Open(const std::string& method, const std::string& url, bool) {
    method_ = method;
    url_ = url;
    requestHeaders_.clear();
}

void ConfiguredRequest::SetOption(int index, int value) {
    if (index == kOptionFollowRedirects) {
        followRedirects_ = value != 0;
    }
}

void ConfiguredRequest::SetCredentials(const std::string& user, const std::string& password,
                                       int target) {
    if (target == kCredentialsForServer) {
        serverLogin_ = {user, password};
    } else if (target == kCredentialsForProxy) {
        proxyLogin_ = {user, password};
    }
}

void ConfiguredRequest::SetRequestHeader(const std::string& name, const std::string& value) {
    bool sendable = !name.empty() && name.find_first_of(": \r\n") == std::string::npos &&
                    value.find_first_of("\r\n") == std::string::npos;
    if (sendable) {
        requestHeaders_.emplace_back(name, value);
    }
}

} // namespace orvane
