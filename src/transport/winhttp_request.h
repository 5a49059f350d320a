#pragma once

#include "http/configured_request.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>
#include <windows.h>
#include <winhttp.h>

namespace orvane {

// The request object over WinHTTP, the system's own HTTP client. One session
// per object keeps its connections, so one object reused across calls reuses
// them. Certificates are verified by the system. Not for use by two threads
// at once, except Cancel.
class WinHttpRequest : public ConfiguredRequest {
public:
    explicit WinHttpRequest(HINTERNET session);
    ~WinHttpRequest() override;
    WinHttpRequest(const WinHttpRequest&) = delete;
    WinHttpRequest& operator=(const WinHttpRequest&) = delete;

    void SetTimeouts(int resolve, int connect, int send, int receive) override;
    Response Send(const ByteArray& body) override;
    Response Send(const std::string& text) override;
    void Cancel() override;

private:
    using Clock = std::chrono::steady_clock;

    Response SendBody(std::string_view body);
    RequestFailure Perform(HINTERNET request, std::string_view body);
    HINTERNET OpenRequest(HINTERNET connection, bool secure, const std::wstring& path);
    void Configure(HINTERNET request);
    RequestFailure ReadResponse(HINTERNET request);
    RequestFailure ReadBody(HINTERNET request);
    void Watch(HINTERNET request);

    HINTERNET session_;
    int timeouts_[4] = {0, 60000, 30000, 30000}; // resolve, connect, send, receive
    // The transfer in progress, closed by the watch at its deadline or on
    // Cancel, which makes the blocking call under way fail.
    std::mutex mutex_;
    std::condition_variable finished_;
    HINTERNET active_ = nullptr;
    bool done_ = false;
    std::atomic<bool> cancelled_ = false;
    // The response as it comes in.
    Response response_;
};

} // namespace orvane
