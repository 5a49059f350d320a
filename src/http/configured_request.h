#pragma once

#include "request_service.h"

#include <string>
#include <utility>
#include <vector>

namespace orvane {

// The part of a request object that every transport shares: what the
// request will be, as the calls before Send set it up.
class ConfiguredRequest : public RequestService {
public:
    void SetTimeouts(const Timeouts& timeouts) override { timeouts_ = timeouts; }
    void SetProxy(const std::string& proxy) override { proxy_ = proxy; }
    void Open(const std::string& method, const std::string& url) override;
    void SetFollowRedirects(bool follow) override { followRedirects_ = follow; }
    void SetLogin(LoginFor target, const std::string& user, const std::string& password) override;
    // A name with blanks, colons or line breaks, or a value with line
    // breaks, is dropped, so that no caller can smuggle a header line in.
    void SetRequestHeader(const std::string& name, const std::string& value) override;

protected:
    // A phase's time-out restarts with every byte; the sum bounds the whole
    // call, so that a server dripping bytes cannot hold it for ever.
    long long WholeCallMs() const;

    using Login = std::pair<std::string, std::string>; // user, password

    Timeouts timeouts_;
    std::string method_;
    std::string url_;
    std::string proxy_;
    bool followRedirects_ = true;
    std::vector<std::pair<std::string, std::string>> requestHeaders_;
    Login serverLogin_;
    Login proxyLogin_;
};

} // namespace orvane
