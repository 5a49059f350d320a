#pragma once

#include "http/configured_request.h"

#include <atomic>
#include <chrono>
#include <curl/curl.h>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane {

// The request object over a libcurl easy handle. Its multi handle keeps the
// connection cache, so one object reused across calls reuses connections.
// Certificates are always verified. Not for use by two threads at once.
class CurlRequest : public ConfiguredRequest {
public:
    CurlRequest(CURL* easy, CURLM* multi);
    ~CurlRequest() override;
    CurlRequest(const CurlRequest&) = delete;
    CurlRequest& operator=(const CurlRequest&) = delete;

    Response Send(const ByteArray& body) override;
    Response Send(const std::string& text) override;
    void Cancel() override { cancelled_ = true; }

private:
    using Clock = std::chrono::steady_clock;

    Response SendBody(std::string_view body);
    void Configure(std::string_view body);
    void ConfigureMethod(std::string_view body);
    void ConfigureLogins();
    RequestFailure Perform();
    CURLcode RunTransfer();
    bool OutOfTime() const;
    RequestFailure FailureOf(CURLcode result) const;
    void ReserveDeclaredLength();
    static size_t OnBody(char* data, size_t size, size_t count, void* self);
    static size_t OnHeader(char* data, size_t size, size_t count, void* self);
    static int OnProgress(void* self, curl_off_t downTotal, curl_off_t downNow, curl_off_t upTotal,
                          curl_off_t upNow);
    static int OnConnected(void* self, char*, char*, int, int);

    CURL* easy_;
    CURLM* multi_;
    std::atomic<bool> cancelled_ = false;
    // The transfer in progress.
    bool connected_ = false;
    bool uploading_ = false;
    curl_off_t lastUp_ = 0;
    curl_off_t lastDown_ = 0;
    Clock::time_point lastActivity_;
    Clock::time_point deadline_;
    bool tooLarge_ = false;
    // The response as it comes in.
    Response response_;
};

} // namespace orvane
