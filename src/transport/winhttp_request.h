#pragma once

#include "http/configured_request.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>
#include <windows.h>
#include <winhttp.h>

namespace orvane {

// The request object over WinHTTP, the system's own HTTP client, in its
// asynchronous mode, so that Cancel and the whole call's deadline end a
// request at once. One session per object keeps its connections, so one
// object reused across calls reuses them. Certificates are verified by the
// system. Not for use by two threads at once, except Cancel.
class WinHttpRequest : public ConfiguredRequest {
public:
    explicit WinHttpRequest(HINTERNET session);
    ~WinHttpRequest() override;
    WinHttpRequest(const WinHttpRequest&) = delete;
    WinHttpRequest& operator=(const WinHttpRequest&) = delete;

    Response Send(const ByteArray& body) override;
    Response Send(const std::string& text) override;
    void Cancel() override;

private:
    using Clock = std::chrono::steady_clock;
    struct Transfer;

    static void CALLBACK OnStatus(HINTERNET handle, DWORD_PTR context, DWORD status,
                                  LPVOID information, DWORD length);
    Response SendBody(std::string_view body);
    Response Perform(HINTERNET request, std::string_view body);
    HINTERNET OpenRequest(HINTERNET connection, bool secure, const std::wstring& path);
    void Configure(HINTERNET request);

    HINTERNET session_;
    std::atomic<bool> cancelled_ = false;
    std::mutex mutex_;                   // guards transfer_
    std::shared_ptr<Transfer> transfer_; // the one under way, woken by Cancel
};

} // namespace orvane
