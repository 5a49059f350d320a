#pragma once

#include "text/bytes.h"

#include <memory>
#include <string>

namespace orvane {

// The largest response body a request takes: generous for any page the
// program asks for, and a bound on the memory a server can make it use.
inline constexpr size_t kMaxResponseBytes = size_t(64) << 20;
// The largest header block: far above any real server's.
inline constexpr size_t kMaxResponseHeaderBytes = size_t(1) << 20;

// Why a request gave no response.
enum class RequestFailure {
    None,
    Unavailable, // there is no request object to send it
    BadUrl,      // not an http or https URL
    NotResolved, // the server's name was not found
    Refused,     // nobody took the connection
    TimedOut,    // a phase or the whole call ran out of time
    TooLarge,    // the response passed the size limits
    Tls,         // the secure connection failed or the certificate was refused
    Protocol,    // the answer was no HTTP, or the connection broke off
    Cancelled,
};

// The reason in words for the user.
std::string RequestFailureText(RequestFailure failure);

// What a request gave back: the final response, or the reason there is none
// (status 0, empty headers and body).
struct Response {
    int status = 0;
    std::string statusText;
    std::string headers; // the header lines, each ending in CR LF, no status line
    ByteArray body;
    RequestFailure failure = RequestFailure::None;
};

// Milliseconds for each phase of a request; the whole call never takes
// longer than their sum.
struct Timeouts {
    int resolve = 0;
    int connect = 60000;
    int send = 30000;
    int receive = 30000;
};

// Whom a user name and password are for.
enum class LoginFor { Server, Proxy };

// One HTTP request object, set up step by step, then sent. A setting that
// cannot be taken has no effect; Send says why it failed.
class RequestService {
public:
    virtual ~RequestService() = default;

    virtual void SetTimeouts(const Timeouts& timeouts) = 0;
    // "host:port" or "http://host:port" (or https); empty: no proxy.
    virtual void SetProxy(const std::string& proxy) = 0;
    // Starts a new request: the last one's headers go.
    virtual void Open(const std::string& method, const std::string& url) = 0;
    // Redirects are followed until this turns them off.
    virtual void SetFollowRedirects(bool follow) = 0;
    virtual void SetLogin(LoginFor target, const std::string& user,
                          const std::string& password) = 0;
    virtual void SetRequestHeader(const std::string& name, const std::string& value) = 0;
    // Blocks until the response is complete or has failed. Only http and
    // https are spoken, for the request and every redirect; a response
    // larger than the limits above fails the request.
    virtual Response Send(const ByteArray& body) = 0;
    virtual Response Send(const std::string& text) = 0;

    // Ends the transfer under way, and every later one, as failed; safe from
    // any thread. For a request no longer wanted, such as one still running
    // when the program ends.
    virtual void Cancel() = 0;
};

using SharedRequest = std::shared_ptr<RequestService>;

// A new request object over the system's transport (the transport library
// defines it); empty when none can be made.
SharedRequest CreateRequestService();

} // namespace orvane
