// The web request routine against real servers on 127.0.0.1: an HTTP server,
// a listener that never answers, a TLS server with a certificate no one
// vouches for, and tinyproxy with Basic authentication.
#include "http/web_request.h"
#include "loopback.h"
#include "scripted_server.h"
#include "test_http_server.h"

#include "web_fetch.h"
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <chrono>
#include <fstream>

#include <gtest/gtest.h>
#include <thread>

namespace orvane {

namespace {

class WebRequestServer : public testing::Test {
protected:
    TestHttpServer server;
};

TEST_F(WebRequestServer, ASharedRequestReusesItsConnection) {
    WebRequestParams p = To(server.Url("/echo"));
    p.sharedRequest = CreateRequestService();
    Fetch(p);
    int firstPort = server.Last().remotePort;
    Fetch(p);
    EXPECT_EQ(server.Last().remotePort, firstPort);
}

TEST_F(WebRequestServer, ThreadsMakeRequestsSideBySide) {
    std::vector<int> statuses(4, -1);
    std::vector<std::thread> threads;
    threads.reserve(statuses.size());
    for (int& status : statuses) {
        threads.emplace_back([this, &status] {
            for (int i = 0; i < 5 && status != 0; ++i) {
                status = Fetch(To(server.Url("/echo"))).status;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(statuses, std::vector<int>(4, 200));
}

// A time-out of 1 s against the default of 15 s: a call bounded by 5 s took
// the given time-out, with room for a slow, loaded machine.
constexpr auto kTimeoutBound = std::chrono::seconds(5);

TEST(WebRequestTimeouts, ASilentServerCostsNoMoreThanTheTimeout) {
    SilentListener silent;
    WebRequestParams p = To("http://127.0.0.1:" + std::to_string(silent.port) + "/");
    p.timeoutSeconds = 1;
    auto start = std::chrono::steady_clock::now();
    FetchResult r = Fetch(p);
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.headers, "");
    EXPECT_EQ(r.failure, RequestFailure::TimedOut);
    EXPECT_GE(elapsed, std::chrono::milliseconds(900));
    EXPECT_LT(elapsed, kTimeoutBound);
}

TEST(WebRequestTimeouts, AnUploadNobodyReadsCostsNoMoreThanTheTimeout) {
    SilentListener silent;
    WebRequestParams p =
        To("http://127.0.0.1:" + std::to_string(silent.port) + "/", HttpMethod::Post);
    p.postBytes = ByteArray(64 << 20, 'x'); // far more than the socket buffers take
    p.timeoutSeconds = 1;
    auto start = std::chrono::steady_clock::now(); // the body exists: only the call is timed
    WebResponse response = WebRequest(p);
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(response.status, 0);
    EXPECT_LT(elapsed, kTimeoutBound);
}

// A request object whose four phase time-outs add up to 800 ms.
WebRequestParams WithShortTimeouts(const std::string& url, HttpMethod method) {
    WebRequestParams p = To(url, method);
    SharedRequest request = CreateRequestService();
    request->SetTimeouts({.resolve = 200, .connect = 200, .send = 200, .receive = 200});
    p.sharedRequest = request;
    p.timeoutSeconds = -1; // the request object's own
    return p;
}

// Every byte comes in time for each phase's time-out, yet the whole call is
// bounded by their sum. The server would drip for 30 s.
TEST(WebRequestTimeouts, ADrippingServerCannotHoldTheCall) {
    const std::pair<HttpMethod, std::string> cases[] = {
        {HttpMethod::Get, "Content-Length: 1000\r\n\r\n"}, // then one body byte at a time
        {HttpMethod::Head, ""},                            // one header line at a time
    };
    for (const auto& [method, head] : cases) {
        ScriptedServer dripping([&head](int fd, const std::atomic<bool>& stopping) {
            if (!ScriptedServer::ReadHead(fd, stopping) ||
                !ScriptedServer::SendAll(fd, "HTTP/1.1 200 OK\r\n" + head)) {
                return;
            }
            std::string drop = head.empty() ? "X-Drip: 1\r\n" : "x";
            for (int i = 0; i < 300 && !stopping && ScriptedServer::SendAll(fd, drop); ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        });
        auto start = std::chrono::steady_clock::now();
        FetchResult r = Fetch(WithShortTimeouts(dripping.Url("http"), method));
        auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(r.status, 0) << int(method);
        EXPECT_GE(elapsed, std::chrono::milliseconds(700)) << "the drip kept each phase alive";
        EXPECT_LT(elapsed, kTimeoutBound) << int(method);
    }
}

// A body that never ends fails the request at the limit instead of taking
// all the memory; the server offers twice the limit.
TEST(WebRequestLimits, AnEndlessBodyFailsAtTheLimit) {
    constexpr size_t offered = 2 * kMaxResponseBytes;
    ScriptedServer endless([](int fd, const std::atomic<bool>& stopping) {
        if (!ScriptedServer::ReadHead(fd, stopping) ||
            !ScriptedServer::SendAll(
                fd, "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(offered) + "\r\n\r\n")) {
            return;
        }
        const std::string block(1 << 16, 'x');
        for (size_t sent = 0; sent < offered && !stopping; sent += block.size()) {
            if (!ScriptedServer::SendAll(fd, block)) {
                return;
            }
        }
    });
    FetchResult r = Fetch(To(endless.Url("http")));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.body.size(), 0u);
    EXPECT_EQ(r.failure, RequestFailure::TooLarge);
}

// Only http and https: never a local file, a raw TCP port named by a URL,
// or a redirect to another scheme.
TEST_F(WebRequestServer, OnlyHttpAndHttpsAreSpoken) {
    FetchResult file = Fetch(To("file:///etc/passwd"));
    EXPECT_EQ(file.status, 0);
    EXPECT_EQ(file.body, "");
    ScriptedServer target;
    for (const char* scheme : {"gopher", "dict"}) {
        FetchResult r = Fetch(To(target.Url(scheme, "/x")));
        EXPECT_EQ(r.status, 0) << scheme;
    }
    FetchResult redirected = Fetch(To(server.Url("/to?url=" + target.Url("ftp"))));
    EXPECT_EQ(redirected.status, 0) << "the redirect to ftp is not followed";
    EXPECT_EQ(target.connections, 0) << "no byte reached the port";
}

TEST(WebRequestTimeouts, NothingListeningFailsAtOnce) {
    FetchResult r = Fetch(To("http://127.0.0.1:" + std::to_string(FreeLoopbackPort()) + "/"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.body, "");
}

// A child process serving on a free loopback port until the test ends.
class ChildServer {
public:
    ChildServer(const QString& program, const QStringList& arguments, int port) {
        process_.setProgram(program);
        process_.setArguments(arguments);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
        for (int i = 0; i < 500 && !Accepts(port); ++i) {
            process_.waitForFinished(10);
        }
        ready = Accepts(port);
    }
    ~ChildServer() {
        process_.kill();
        process_.waitForFinished();
    }
    bool ready = false;

private:
    QProcess process_;
};

QString Tool(const char* name) {
    return QStandardPaths::findExecutable(QString::fromLatin1(name),
                                          {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"),
                                           QStringLiteral("/usr/local/bin")});
}

TEST(WebRequestTls, AnUntrustedCertificateFailsTheRequest) {
    QString openssl = Tool("openssl");
    ASSERT_FALSE(openssl.isEmpty()) << "openssl is needed: apt-get install openssl";
    QTemporaryDir dir;
    QString key = dir.filePath(QStringLiteral("key.pem"));
    QString cert = dir.filePath(QStringLiteral("cert.pem"));
    ASSERT_EQ(QProcess::execute(openssl, {QStringLiteral("req"), QStringLiteral("-x509"),
                                          QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                                          QStringLiteral("-nodes"), QStringLiteral("-keyout"), key,
                                          QStringLiteral("-out"), cert, QStringLiteral("-subj"),
                                          QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-days"),
                                          QStringLiteral("1")}),
              0);
    int port = FreeLoopbackPort();
    ChildServer tls(openssl,
                    {QStringLiteral("s_server"), QStringLiteral("-accept"),
                     QStringLiteral("127.0.0.1:%1").arg(port), QStringLiteral("-cert"), cert,
                     QStringLiteral("-key"), key, QStringLiteral("-www"), QStringLiteral("-quiet")},
                    port);
    ASSERT_TRUE(tls.ready);
    FetchResult r = Fetch(To("https://127.0.0.1:" + std::to_string(port) + "/"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.body, "");
    EXPECT_EQ(r.failure, RequestFailure::Tls);
}

class WebRequestProxy : public testing::Test {
protected:
    void SetUp() override {
        QString tinyproxy = Tool("tinyproxy");
        ASSERT_FALSE(tinyproxy.isEmpty())
            << "tinyproxy is needed for the proxy tests: apt-get install tinyproxy-bin";
        port = FreeLoopbackPort();
        QString config = dir.filePath(QStringLiteral("tinyproxy.conf"));
        std::ofstream(config.toStdString()) << "Port " << port << "\nListen 127.0.0.1\n"
                                            << "Timeout 30\nMaxClients 8\nAllow 127.0.0.1\n"
                                            << "BasicAuth orvane s3cret\nLogLevel Critical\n";
        proxy = std::make_unique<ChildServer>(
            tinyproxy, QStringList{QStringLiteral("-d"), QStringLiteral("-c"), config}, port);
        ASSERT_TRUE(proxy->ready) << "tinyproxy did not start";
    }
    WebRequestParams ThroughProxy() {
        WebRequestParams p = To(server.Url("/echo"));
        p.proxy = "127.0.0.1:" + std::to_string(port);
        return p;
    }
    TestHttpServer server;
    QTemporaryDir dir;
    int port = 0;
    std::unique_ptr<ChildServer> proxy;
};

TEST_F(WebRequestProxy, CredentialsPassTheProxy) {
    WebRequestParams p = ThroughProxy();
    p.proxyUser = "orvane";
    p.proxyPassword = "s3cret";
    FetchResult r = Fetch(p);
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, "echo:");
    EXPECT_FALSE(server.Last().Has("Proxy-Authorization")) << "the proxy keeps the credentials";
}

TEST_F(WebRequestProxy, AProxyMayBeGivenWithItsScheme) {
    WebRequestParams p = ThroughProxy();
    p.proxy = "http://" + p.proxy;
    p.proxyUser = "orvane";
    p.proxyPassword = "s3cret";
    EXPECT_EQ(Fetch(p).status, 200);
}

TEST_F(WebRequestProxy, WithoutCredentialsTheProxyRefuses) {
    FetchResult r = Fetch(ThroughProxy());
    EXPECT_EQ(r.status, 407);
    WebRequestParams wrong = ThroughProxy();
    wrong.proxyUser = "orvane";
    wrong.proxyPassword = "guess";
    EXPECT_EQ(Fetch(wrong).status, 401) << "tinyproxy answers wrong credentials so";
    EXPECT_EQ(server.Last().path, "") << "no request got through";
}

} // namespace

} // namespace orvane
