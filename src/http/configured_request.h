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
    void SetProxy(int setting, const std::string& proxy) override;
    // Starts a new request: the last one's headers go.
    void Open(const std::string& method, const std::string& url, bool async) override;
    void SetOption(int index, int value) override;
    void SetCredentials(const std::string& user, const std::string& password, int target) override;
    // A name with blanks, colons or line breaks, or a value with line
    // breaks, is dropped, so that no caller can smuggle a header line in.
    void SetRequestHeader(const std::string& name, const std::string& value) override;

protected:
    using Login = std::pair<std::string, std::string>; // user, password

    std::string method_;
    std::string url_;
    std::string proxy_;
    bool followRedirects_ = true;
    std::vector<std::pair<std::string, std::string>> requestHeaders_;
    Login serverLogin_;
    Login proxyLogin_;
};

} // namespace orvane
