#pragma once

#include "bytes.h"

#include <memory>
#include <string>

// The values the request object takes, numbered as it numbers them.
inline constexpr int kProxyNamed = 2;            // SetProxy: a proxy given by name
inline constexpr int kOptionFollowRedirects = 6; // SetOption: whether redirects are followed
inline constexpr int kCredentialsForServer = 0;  // SetCredentials: for the server
inline constexpr int kCredentialsForProxy = 1;   // SetCredentials: for the proxy

// The largest response body a request takes: generous for any page the
// program asks for, and a bound on the memory a server can make it use.
inline constexpr size_t kMaxResponseBytes = size_t(64) << 20;
// The largest header block: far above any real server's.
inline constexpr size_t kMaxResponseHeaderBytes = size_t(1) << 20;

// One HTTP request object, driven step by step the way the web request
// routine drives it. Nothing is checked by the caller: an operation that
// fails has no effect, and reads after a failed Send give empty values.
class RequestService {
public:
    virtual ~RequestService() = default;

    // Milliseconds for name resolution, connecting, sending, and receiving;
    // the whole call never takes longer than their sum.
    virtual void SetTimeouts(int resolve, int connect, int send, int receive) = 0;
    // kProxyNamed: use the named proxy, "host:port" or "http://host:port"
    // (or https).
    virtual void SetProxy(int setting, const std::string& proxy) = 0;
    virtual void Open(const std::string& method, const std::string& url, bool async) = 0;
    // kOptionFollowRedirects: follow redirects (value 0 turns it off).
    virtual void SetOption(int index, int value) = 0;
    // target kCredentialsForServer or kCredentialsForProxy.
    virtual void SetCredentials(const std::string& user, const std::string& password,
                                int target) = 0;
    virtual void SetRequestHeader(const std::string& name, const std::string& value) = 0;
    // Blocks until the response is complete or has failed. Only http and
    // https are spoken, for the request and every redirect; a response
    // larger than the limits above fails the request.
    virtual void Send(const ByteArray& body) = 0;
    virtual void Send(const std::string& text) = 0;

    // Hands the body over: a second call gives nothing.
    virtual ByteArray ResponseBody() = 0;
    // The final response's header lines, each ending in CR LF, without the
    // status line.
    virtual std::string GetAllResponseHeaders() = 0;
    virtual double Status() = 0;
    virtual std::string StatusText() = 0;

    // Ends the transfer under way, and every later one, as failed; safe from
    // any thread. For a request no longer wanted, such as one still running
    // when the program ends.
    virtual void Cancel() = 0;
};

using SharedRequest = std::shared_ptr<RequestService>;

// A new request object over the system's transport (the transport library
// defines it); empty when none can be made.
SharedRequest CreateRequestService();
