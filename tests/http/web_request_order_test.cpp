// The order and arguments of the calls the web request routine makes on its
// request object, seen through a recording stand-in.
#include "http/web_request.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace orvane {

namespace {

class RecordingRequest : public RequestService {
public:
    std::vector<std::string> calls;
    std::string responseHeaders;
    ByteArray responseBody;
    double status = 200;

    void SetTimeouts(const Timeouts& t) override {
        calls.push_back("SetTimeouts " + std::to_string(t.resolve) + " " +
                        std::to_string(t.connect) + " " + std::to_string(t.send) + " " +
                        std::to_string(t.receive));
    }
    void SetProxy(const std::string& proxy) override { calls.push_back("SetProxy " + proxy); }
    void Open(const std::string& method, const std::string& url) override {
        calls.push_back("Open " + method + " " + url);
    }
    void SetFollowRedirects(bool follow) override {
        calls.emplace_back(follow ? "FollowRedirects" : "NoRedirects");
    }
    void SetLogin(LoginFor target, const std::string& user, const std::string& password) override {
        calls.push_back("SetLogin " +
                        std::string(target == LoginFor::Server ? "server " : "proxy ") + user +
                        " " + password);
    }
    void SetRequestHeader(const std::string& name, const std::string& value) override {
        calls.push_back("Header [" + name + "] [" + value + "]");
    }
    Response Send(const ByteArray& body) override {
        calls.push_back("Send bytes " + std::string(body.begin(), body.end()));
        return Answer();
    }
    Response Send(const std::string& text) override {
        calls.push_back("Send text " + text);
        return Answer();
    }
    Response Answer() const { return {int(status), "OK", responseHeaders, responseBody}; }
    void Cancel() override {}

    std::vector<std::string> Headers() const {
        std::vector<std::string> headers;
        for (const std::string& call : calls) {
            if (call.starts_with("Header ")) {
                headers.push_back(call);
            }
        }
        return headers;
    }
    bool Called(const std::string& prefix) const {
        return std::ranges::any_of(
            calls, [&](const std::string& call) { return call.starts_with(prefix); });
    }
};

class WebRequestOrder : public testing::Test {
protected:
    WebRequestParams Params(const std::string& url = "http://t.example/") {
        WebRequestParams p;
        p.url = url;
        p.sharedRequest = fake;
        return p;
    }
    std::shared_ptr<RecordingRequest> fake = std::make_shared<RecordingRequest>();
};

const std::string kUserAgent =
    "Header [User-Agent] [Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)]";

TEST_F(WebRequestOrder, AFullRequestInOrder) {
    WebRequestParams p = Params("http://Example.com/a?b=1");
    p.method = HttpMethod::Head;
    p.proxy = "127.0.0.1:8888";
    p.noRedirect = true;
    WebRequest(p);
    std::vector<std::string> expected = {
        "SetTimeouts 15000 15000 15000 15000",
        "SetProxy 127.0.0.1:8888",
        "Open HEAD http://Example.com/a?b=1",
        "NoRedirects",
        "Header [Accept] [*/*]",
        "Header [Referer] [http://Example.com/a?b=1]",
        "Header [Accept-Language] [zh-cn]",
        kUserAgent,
        "Send text ",
    };
    EXPECT_EQ(fake->calls, expected);
}

TEST_F(WebRequestOrder, MethodsOutsideTheTableSendGet) {
    for (int method : {8, -1, 1000}) {
        fake->calls.clear();
        WebRequestParams p = Params();
        p.method = HttpMethod(method);
        WebRequest(p);
        EXPECT_TRUE(fake->Called("Open GET ")) << method;
    }
}

TEST_F(WebRequestOrder, ContentTypeDefaultsOnlyForPost) {
    WebRequestParams p = Params();
    p.method = HttpMethod::Post;
    WebRequest(p);
    EXPECT_EQ(fake->Headers().back(), "Header [Content-Type] [application/x-www-form-urlencoded]");
    fake->calls.clear();
    p.method = HttpMethod::Put;
    WebRequest(p);
    EXPECT_FALSE(fake->Called("Header [Content-Type]"));
    fake->calls.clear();
    p.method = HttpMethod::Post;
    p.extraHeaders = "content-type: text/plain";
    WebRequest(p);
    EXPECT_EQ(fake->Headers().front(), "Header [Content-Type] [text/plain]");
    EXPECT_EQ(fake->Headers().back(), kUserAgent);
}

TEST_F(WebRequestOrder, CallersUserAgentInAnyCaseWinsAndIsNormalised) {
    WebRequestParams p = Params();
    p.extraHeaders = "uSeR-aGeNt: x";
    WebRequest(p);
    EXPECT_EQ(fake->Headers().front(), "Header [USeR-AGeNt] [x]");
    EXPECT_FALSE(fake->Called(kUserAgent));
    fake->calls.clear();
    p.extraHeaders = "user-agent: x";
    WebRequest(p);
    EXPECT_EQ(fake->Headers().front(), "Header [User-Agent] [x]");
    fake->calls.clear();
    p.normaliseHeaderNames = false;
    WebRequest(p);
    EXPECT_EQ(fake->Headers().front(), "Header [user-agent] [x]");
}

TEST_F(WebRequestOrder, KeepAliveIsDroppedCloseIsSent) {
    WebRequestParams p = Params();
    p.extraHeaders = "Connection: keep-alive";
    WebRequest(p);
    EXPECT_FALSE(fake->Called("Header [Connection]"));
    fake->calls.clear();
    p.extraHeaders = "Connection: close";
    WebRequest(p);
    EXPECT_TRUE(fake->Called("Header [Connection] [close]"));
}

TEST_F(WebRequestOrder, TimeOuts) {
    const std::pair<int, std::string> cases[] = {
        {0, "SetTimeouts 15000 15000 15000 15000"},
        {-7, "SetTimeouts 15000 15000 15000 15000"},
        {5, "SetTimeouts 5000 5000 5000 5000"},
    };
    for (const auto& [seconds, call] : cases) {
        fake->calls.clear();
        WebRequestParams p = Params();
        p.timeoutSeconds = seconds;
        WebRequest(p);
        EXPECT_EQ(fake->calls.front(), call);
    }
    fake->calls.clear();
    WebRequestParams p = Params();
    p.timeoutSeconds = -1;
    WebRequest(p);
    EXPECT_FALSE(fake->Called("SetTimeouts"));
}

TEST_F(WebRequestOrder, ProxyCredentials) {
    WebRequestParams p = Params();
    p.proxyUser = "u";
    p.proxyPassword = "p";
    WebRequest(p);
    EXPECT_FALSE(fake->Called("SetProxy"));
    EXPECT_FALSE(fake->Called("SetLogin"));
    EXPECT_FALSE(fake->Called("Header [Proxy-Authorization]"));

    fake->calls.clear();
    p.proxy = "127.0.0.1:1";
    p.credentialTarget = LoginFor::Server;
    WebRequest(p);
    EXPECT_TRUE(fake->Called("SetLogin server u p"));
    EXPECT_FALSE(fake->Called("Header [Proxy-Authorization]"));

    fake->calls.clear();
    p.credentialTarget = LoginFor::Proxy;
    p.proxyUser = "user";
    p.proxyPassword = "pass";
    WebRequest(p);
    EXPECT_TRUE(fake->Called("SetLogin proxy user pass"));
    EXPECT_EQ(fake->Headers().front(), "Header [Proxy-Authorization] [Basic dXNlcjpwYXNz]");
}

TEST_F(WebRequestOrder, HeaderOrderProxyAuthorisationCookieThenLines) {
    WebRequestParams p = Params();
    p.proxy = "127.0.0.1:1";
    p.proxyUser = "user";
    p.cookies = "a=1";
    p.extraHeaders = "X-First: 1\r\nX-Second: 2";
    WebRequest(p);
    std::vector<std::string> expected = {
        "Header [Proxy-Authorization] [Basic dXNlcjo=]",
        "Header [Cookie] [a=1]",
        "Header [X-First] [1]",
        "Header [X-Second] [2]",
        "Header [Accept] [*/*]",
        "Header [Referer] [http://t.example/]",
        "Header [Accept-Language] [zh-cn]",
        kUserAgent,
    };
    EXPECT_EQ(fake->Headers(), expected);
}

TEST_F(WebRequestOrder, CookiesGivenWithTheirHeaderName) {
    WebRequestParams p = Params();
    p.cookies = "Cookie: a=1";
    p.mergeCookies = false;
    EXPECT_EQ(WebRequest(p).cookies, " a=1");
    EXPECT_TRUE(fake->Called("Header [Cookie] [ a=1]"));

    p.cookies = "";
    fake->calls.clear();
    WebRequest(p);
    EXPECT_TRUE(fake->Called("Header [Cookie] []"));
}

TEST_F(WebRequestOrder, NothingToCompleteGivesOneEmptyHeaderCall) {
    WebRequestParams p = Params();
    p.completeHeaders = false;
    WebRequest(p);
    EXPECT_EQ(fake->Headers(), std::vector<std::string>{"Header [] []"});
}

TEST_F(WebRequestOrder, BytesWinOverText) {
    WebRequestParams p = Params();
    p.postBytes = BytesFromText("raw");
    p.postText = "text";
    WebRequest(p);
    EXPECT_EQ(fake->calls.back(), "Send bytes raw");
}

TEST_F(WebRequestOrder, ResponseCookiesAreCollectedAndMerged) {
    fake->responseHeaders = "Set-Cookie: sid=7; Path=/\r\nset-cookie: x=1\r\nSet-Cookie:y=2\r\n"
                            "Set-Cookie: lang=zh\r\n";
    WebRequestParams p = Params();
    EXPECT_EQ(WebRequest(p).returnedCookies, "sid=7; lang=zh");

    fake->responseHeaders = "Set-Cookie: b=3\r\n";
    p.cookies = "a=1; b=2";
    WebResponse merged = WebRequest(p);
    EXPECT_EQ(merged.cookies, "b=3; a=1");
    EXPECT_EQ(merged.returnedCookies, "b=3; a=1");
}

TEST_F(WebRequestOrder, AnEmptySharedRequestMakesNoRequest) {
    int created = 0;
    auto factory = [&created]() -> SharedRequest {
        ++created;
        return nullptr;
    };
    WebRequestParams p;
    p.url = "http://t.example/";
    p.sharedRequest = SharedRequest();
    WebResponse response = WebRequest(p, factory);
    EXPECT_EQ(created, 0);
    EXPECT_TRUE(response.body.empty());
    EXPECT_EQ(response.headers, "");
    EXPECT_EQ(response.status, 0);
    EXPECT_EQ(response.failure, RequestFailure::Unavailable);
}

TEST_F(WebRequestOrder, NoRequestObjectSendsNothingAndKeepsTheCookiesAsGiven) {
    WebRequestParams p;
    p.url = "http://t.example/";
    p.cookies = "Cookie: a=1";
    WebResponse response = WebRequest(p, [] { return SharedRequest(); });
    EXPECT_EQ(response.failure, RequestFailure::Unavailable);
    EXPECT_TRUE(response.body.empty());
    EXPECT_EQ(response.status, 0);
    EXPECT_EQ(response.cookies, "Cookie: a=1");
}

TEST_F(WebRequestOrder, ReturnsTheBodyHeadersAndStatus) {
    fake->responseBody = BytesFromText("hello");
    fake->responseHeaders = "Date: x\r\n";
    fake->status = 404;
    WebResponse response = WebRequest(Params());
    EXPECT_EQ(response.body, BytesFromText("hello"));
    EXPECT_EQ(response.headers, "Date: x\r\n");
    EXPECT_EQ(response.status, 404);
}

} // namespace

} // namespace orvane
