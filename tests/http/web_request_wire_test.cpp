// The request object of this system (libcurl on Linux, WinHTTP on Windows)
// through the web request routine, against the test HTTP server.
#include "wire_server.h"

#include "web_fetch.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace orvane {

namespace {

class WebRequestWire : public testing::Test {
protected:
    void SetUp() override {
        if (!server.Available()) {
            GTEST_SKIP() << "no test server: run scripts/test-windows.sh";
        }
    }
    WireServer server;
};

TEST_F(WebRequestWire, DefaultHeadersGoOnTheWire) {
    WebRequestParams p = To(server.Url("/echo"));
    p.extraHeaders = "x-custom: 1";
    FetchResult r = Fetch(p);
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, "echo:");
    SeenRequest seen = server.Last();
    EXPECT_EQ(seen.method, "GET");
    EXPECT_EQ(seen.Header("Accept"), "*/*");
    EXPECT_EQ(seen.Header("Referer"), server.Url("/echo"));
    EXPECT_EQ(seen.Header("Accept-Language"), "zh-cn");
    EXPECT_EQ(seen.Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)");
    EXPECT_EQ(seen.Header("X-Custom"), "1");
}

// Why a request gave no response: each reason as the system's client tells
// it, and none when it answered, whatever the status.
TEST_F(WebRequestWire, AFailureSaysWhy) {
    EXPECT_EQ(Fetch(To(server.Url("/missing"))).failure, RequestFailure::None);
    FetchResult refused = Fetch(To("http://127.0.0.1:9/"));
    EXPECT_EQ(refused.failure, RequestFailure::Refused);
    EXPECT_EQ(refused.status, 0);
    EXPECT_EQ(Fetch(To("ftp://127.0.0.1:9/")).failure, RequestFailure::BadUrl);
    EXPECT_EQ(Fetch(To("http://orvane-no-such-host.invalid/")).failure,
              RequestFailure::NotResolved);
}

// The program's end cancels the time lookup under way: whatever the server
// does, the request ends at once.
TEST_F(WebRequestWire, CancelEndsARequestToASilentServerAtOnce) {
    SharedRequest request = CreateRequestService();
    WebRequestParams p = To(server.SilentUrl());
    p.sharedRequest = request;
    p.timeoutSeconds = 30;
    auto start = std::chrono::steady_clock::now();
    std::thread cancel([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        request->Cancel();
    });
    FetchResult r = Fetch(p);
    cancel.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1300));
    EXPECT_EQ(r.failure, RequestFailure::Cancelled);
}

TEST_F(WebRequestWire, BodiesAndMethods) {
    WebRequestParams post = To(server.Url("/echo"), HttpMethod::Post);
    post.postBytes = {'a', 0, 'b', 0xFF};
    post.postText = "ignored";
    FetchResult r = Fetch(post);
    EXPECT_EQ(r.body, std::string("echo:a\0b\xFF", 9));
    EXPECT_EQ(server.Last().Header("Content-Type"), "application/x-www-form-urlencoded");

    WebRequestParams put = To(server.Url("/echo"), HttpMethod::Put);
    put.postText = "张三"; // its ANSI bytes
    r = Fetch(put);
    EXPECT_EQ(server.Last().method, "PUT");
    EXPECT_EQ(server.Last().body, "\xD5\xC5\xC8\xFD");
    EXPECT_FALSE(server.Last().Has("Content-Type"));

    for (auto [method, name] :
         {std::pair{HttpMethod::Options, "OPTIONS"}, std::pair{HttpMethod::Delete, "DELETE"}}) {
        EXPECT_EQ(Fetch(To(server.Url("/echo"), method)).status, 200);
        EXPECT_EQ(server.Last().method, name);
    }
}

TEST_F(WebRequestWire, HeadGetsHeadersWithoutABody) {
    FetchResult r = Fetch(To(server.Url("/echo"), HttpMethod::Head));
    EXPECT_EQ(server.Last().method, "HEAD");
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, "");
    EXPECT_NE(r.headers.find("Date: Sun, 06 Dec 2026 23:05:19 GMT\r\n"), std::string::npos);
    EXPECT_EQ(r.headers.rfind("HTTP/", 0), std::string::npos) << "no status line";
    EXPECT_EQ(r.headers.substr(r.headers.size() - 2), "\r\n");
}

TEST_F(WebRequestWire, AnErrorStatusIsNoFailure) {
    FetchResult r = Fetch(To(server.Url("/missing")));
    EXPECT_EQ(r.status, 404);
    EXPECT_EQ(r.body, "not here");
}

TEST_F(WebRequestWire, RedirectsFollowedUnlessTurnedOff) {
    FetchResult followed = Fetch(To(server.Url("/redirect")));
    EXPECT_EQ(followed.status, 200);
    EXPECT_EQ(followed.body, "echo:");
    EXPECT_EQ(followed.headers.find("Location"), std::string::npos) << "final response only";

    WebRequestParams p = To(server.Url("/redirect"));
    p.noRedirect = true;
    FetchResult stopped = Fetch(p);
    EXPECT_EQ(stopped.status, 302);
    EXPECT_NE(stopped.headers.find("Location: /echo\r\n"), std::string::npos);
}

TEST_F(WebRequestWire, CookiesSentCollectedAndMerged) {
    WebRequestParams p = To(server.Url("/cookies"));
    p.cookies = "a=1; sid=old";
    WebResponse response = WebRequest(p);
    EXPECT_EQ(server.Last().Header("Cookie"), "a=1; sid=old");
    EXPECT_EQ(response.cookies, "sid=7; lang=zh; a=1");
    EXPECT_EQ(response.returnedCookies, response.cookies);
}

} // namespace

} // namespace orvane
